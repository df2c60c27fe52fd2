#include "vhdl/vhdl_generator.h"

#include <filesystem>
#include <system_error>

#include "machine/micro_word.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "vhdl/skeleton.h"

namespace edumac8 {
namespace {

using vhdl::Piece;
using vhdl::Target;

// `n` binary digits of `value`, most significant first.
std::string Bits(unsigned value, int n) {
  std::string digits(n, '0');
  for (int i = 0; i < n; ++i)
    if ((value >> (n - 1 - i)) & 1) digits[i] = '1';
  return digits;
}

struct RegisterRow {
  const char* name;
  const char* sensitivity;
  const char* reg;
  const char* condition;
  const char* source;
};

constexpr RegisterRow kRegisterFamily[] = {
    {"A", "AEN", "A", "AEN = '0'", "D_BUS"},
    {"W", "WEN", "W", "WEN = '0'", "D_BUS"},
    {"R0", "RWR, IR", "R0", "(RWR = '0') AND (IR(1) = '0') AND (IR(0) = '0')", "D_BUS"},
    {"R1", "RWR, IR", "R1", "(RWR = '0') AND (IR(1) = '0') AND (IR(0) = '1')", "D_BUS"},
    {"R2", "RWR, IR", "R2", "(RWR = '0') AND (IR(1) = '1') AND (IR(0) = '0')", "D_BUS"},
    {"R3", "RWR, IR", "R3", "(RWR = '0') AND (IR(1) = '1') AND (IR(0) = '1')", "D_BUS"},
    {"OUT", "OUTEN", "OT", "OUTEN = '0'", "D_BUS"},
    {"ST", "STEN", "ST", "STEN = '0'", "D_BUS"},
    {"MAR", "MAREN", "MAR", "MAREN = '0'", "D_BUS"},
    {"IR", "IREN", "IR", "IREN = '0'", "I_BUS"},
};

class Expander {
 public:
  Expander(const InstructionSystem& isa, const MicroProgram& uM, const StepCounts& steps)
      : isa_(isa), uM_(uM), steps_(steps) {}

  std::vector<std::string> Lines(Piece piece) const {
    switch (piece) {
      case Piece::Line:
        break;
      case Piece::RegisterFamily:
        return RegisterFamily();
      case Piece::MicroProgramRom:
        return MicroProgramRom();
      case Piece::ControlDecoders:
        return ControlDecoders();
      case Piece::CycleCounts:
        return CycleCounts();
    }
    return {};
  }

 private:
  const std::string& GroupText(int a) const { return isa_.InstrTextTable[a / 4]; }

  static std::vector<std::string> RegisterFamily() {
    std::vector<std::string> out;
    for (const RegisterRow& r : kRegisterFamily) {
      const std::string reg = r.reg;
      out.insert(out.end(), {
                                std::string("  -- 寄存器 ") + r.name,
                                std::string("  PROCESS(clk, rst, ") + r.sensitivity + ")",
                                "  BEGIN",
                                "    IF rst = '1' THEN",
                                "      " + reg + " <= (OTHERS=>'0');",
                                "    ELSIF clk'EVENT AND clk = '1' THEN",
                                std::string("      IF ") + r.condition + " THEN",
                                "        " + reg + " <= " + r.source + ";",
                                "      END IF;",
                                "    END IF;",
                                "  END PROCESS;",
                                "",
                            });
    }
    return out;
  }

  std::vector<std::string> MicroProgramRom() const {
    std::vector<std::string> out;
    for (int a = 0; a < 256; ++a) {
      std::string line =
          "      WHEN \"" + Bits(a, 8) + "\" => uM <= \"" + Bits(uM_[a] & kWordMask, 24) + "\";";
      if (a % 4 == 0) line += " -- " + GroupText(a);
      out.push_back(std::move(line));
    }
    // std_logic has more values than '0' and '1'; without this choice the CASE does not
    // analyse. An address that is neither asserts nothing.
    out.push_back("      WHEN OTHERS => uM <= (OTHERS => '1');");
    return out;
  }

  std::vector<std::string> ControlDecoders() const {
    std::vector<std::string> out;
    for (int bit = 23; bit >= 0; --bit) {
      const std::string name = SignalName(bit);
      std::vector<std::string> choices;
      for (int a = 0; a < 256; ++a) {
        if ((uM_[a] >> bit) & 1) continue;
        const unsigned choice = (a & 0xFC) | (steps_[a] & 3);
        choices.push_back("      WHEN \"" + Bits(choice, 8) + "\" => " + name + " <= '0'; -- " +
                          GroupText(a));
      }
      out.push_back("");
      if (choices.empty()) {
        out.push_back("    " + name + std::string(8 - name.size(), ' ') + " <= '1';");
        continue;
      }
      out.push_back("    -- " + name + " " + std::to_string(choices.size()));
      out.push_back("    CASE STATUS IS");
      out.insert(out.end(), choices.begin(), choices.end());
      out.push_back("      WHEN OTHERS     => " + name + " <= '1';");
      out.push_back("    END CASE;");
    }
    return out;
  }

  std::vector<std::string> CycleCounts() const {
    std::vector<std::string> out;
    for (int a = 0; a < 256; a += 4) {
      if (steps_[a] == 0) continue;
      out.push_back("      WHEN \"" + Bits(a >> 2, 6) + "\" => CT <= \"" + Bits(steps_[a] & 3, 2) +
                    (a == 0 ? "\"; -- Fetch" : "\"; -- " + GroupText(a)));
    }
    return out;
  }

  const InstructionSystem& isa_;
  const MicroProgram& uM_;
  const StepCounts& steps_;
};

}  // namespace

VhdlFiles GenerateVhdl(const InstructionSystem& isa, const MicroProgram& uM,
                       const StepCounts& steps, const ProgramMemory& em) {
  VhdlFiles files;
  const Expander expander(isa, uM, steps);
  for (const vhdl::SkeletonLine& s : vhdl::Skeleton()) {
    const std::vector<std::string> lines =
        s.piece == Piece::Line ? std::vector<std::string>{s.text} : expander.Lines(s.piece);
    if (s.target != Target::Combinational)
      files.micro.insert(files.micro.end(), lines.begin(), lines.end());
    if (s.target != Target::Micro)
      files.combinational.insert(files.combinational.end(), lines.begin(), lines.end());
  }
  for (std::uint8_t byte : em) files.memory.push_back(Hex2(byte));
  return files;
}

VhdlFiles GenerateVhdl(const InstructionSystem& isa, Machine& machine) {
  machine.BuildStepCountTable();
  return GenerateVhdl(isa, machine.uM, machine.StepCountTable, machine.EM);
}

std::optional<std::string> WriteVhdlFiles(const std::string& dir, const VhdlFiles& files) {
  // An empty name is no directory: the files would land wherever the program happens to run.
  if (dir.empty()) return std::string(kMicroVhdlFile);
  std::error_code ignored;  // a directory that cannot be made shows as the first failed file
  std::filesystem::create_directories(dir, ignored);
  const auto output = [&](const char* name, const std::vector<std::string>& lines) {
    return FileContent{(std::filesystem::path(dir) / name).string(),
                       EncodeTextFile(lines.data(), lines.size())};
  };
  return WriteFilesAtomic({output(kMicroVhdlFile, files.micro),
                           output(kCombinationalVhdlFile, files.combinational),
                           output(kMemoryImageFile, files.memory)});
}

}  // namespace edumac8
