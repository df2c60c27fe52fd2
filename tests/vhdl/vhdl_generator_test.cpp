#include "vhdl/vhdl_generator.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "isa/default_system.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::size_t Count(const Lines& lines, const std::string& line) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

bool HasLineStartingWith(const Lines& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

// The lines from the one that equals `first` up to, not including, the next that equals
// `end`.
Lines Block(const Lines& lines, const std::string& first, const std::string& end) {
  auto b = std::find(lines.begin(), lines.end(), first);
  auto e = std::find(b, lines.end(), end);
  return Lines(b, e);
}

class VhdlGenerator : public testing::Test {
 protected:
  VhdlGenerator() { isa.LoadDefaults(machine.uM); }

  VhdlFiles Generate() { return GenerateVhdl(isa, machine); }
  const std::string& Text(int opcode) const { return isa.InstrTextTable[opcode / 4]; }

  InstructionSystem isa;
  Machine machine;
};

TEST_F(VhdlGenerator, RomHasOneLinePerMicroAddressWithTheGroupTextEveryFourth) {
  const VhdlFiles f = Generate();
  const Lines rom = Block(f.micro, "    CASE uPC IS", "    END CASE;");
  ASSERT_EQ(rom.size(), 1u + 256u + 1u);
  EXPECT_EQ(rom[1 + 0x00],
            R"(      WHEN "00000000" => uM <= "110010111111111111111111"; -- _FATCH_  )");
  EXPECT_EQ(rom[1 + 0x01], R"(      WHEN "00000001" => uM <= "111111111111111111111111";)");
  EXPECT_EQ(rom[1 + 0x04],
            R"(      WHEN "00000100" => uM <= "110010111111111111111111"; -- UNDEF)");
  EXPECT_EQ(rom[1 + 0x10],
            R"(      WHEN "00010000" => uM <= "111111111111011111101111"; -- )" + Text(0x10));
  // Every choice of std_logic that is not a binary address gets an inactive word.
  EXPECT_EQ(rom.back(), "      WHEN OTHERS => uM <= (OTHERS => '1');");
  EXPECT_EQ(Count(f.combinational, rom.back()), 0u);
}

TEST_F(VhdlGenerator, RomWritesOnlyTheLow24BitsOfACell) {
  machine.uM[0x21] = 0xFFCBFFFF;
  const Lines high = Generate().micro;
  machine.uM[0x21] = 0x00CBFFFF;
  EXPECT_EQ(Generate().micro, high);
  EXPECT_EQ(Count(high, R"(      WHEN "00100001" => uM <= "110010111111111111111111";)"), 1u);
}

TEST_F(VhdlGenerator, XrdDecoderOfTheDefaultsHasTheOneWordOfRead) {
  const Lines xrd = Block(Generate().combinational, "    -- XRD 1", "    END CASE;");
  const Lines want = {
      "    -- XRD 1",
      "    CASE STATUS IS",
      R"(      WHEN "10010001" => XRD <= '0'; -- )" + Text(0x90),
      "      WHEN OTHERS     => XRD <= '1';",
  };
  EXPECT_EQ(xrd, want);
}

TEST_F(VhdlGenerator, EveryDefaultSignalHasACaseDecoderAndEintOneWhenLine) {
  const Lines c = Generate().combinational;
  for (int bit = 0; bit < 24; ++bit) {
    const std::string name = SignalName(bit);
    EXPECT_TRUE(HasLineStartingWith(c, "    -- " + name + " ")) << name;
    EXPECT_EQ(Count(c, "      WHEN OTHERS     => " + name + " <= '1';"), 1u) << name;
  }
  const Lines eint = Block(c, "    -- EINT 1", "    END CASE;");
  ASSERT_EQ(eint.size(), 4u);
  EXPECT_EQ(eint[2], R"(      WHEN "11101101" => EINT <= '0'; -- )" + Text(0xEC));
}

TEST_F(VhdlGenerator, DecoderOfASignalNoWordAssertsIsOneConstantLine) {
  for (std::uint32_t& cell : machine.uM) cell |= 1u << static_cast<int>(Signal::XRD);
  const VhdlFiles f = Generate();
  EXPECT_EQ(Count(f.combinational, "    XRD      <= '1';"), 1u);
  EXPECT_FALSE(HasLineStartingWith(f.combinational, "    -- XRD"));
  EXPECT_EQ(Count(f.micro, "    XRD      <= '1';"), 0u);
}

TEST_F(VhdlGenerator, CycleCountLinesSkipFetchAndUndefinedGroups) {
  const Lines counts =
      Block(Generate().combinational, "    CASE INST IS", R"(      WHEN OTHERS   => CT <= "00";)");
  EXPECT_FALSE(HasLineStartingWith(counts, R"(      WHEN "000000")"));  // _FATCH_
  EXPECT_FALSE(HasLineStartingWith(counts, R"(      WHEN "000001")"));  // undefined
  EXPECT_FALSE(HasLineStartingWith(counts, R"(      WHEN "111000")"));  // NOP: fetch only
  EXPECT_EQ(Count(counts, R"(      WHEN "000100" => CT <= "10"; -- )" + Text(0x10)), 1u);
  EXPECT_EQ(Count(counts, R"(      WHEN "000101" => CT <= "11"; -- )" + Text(0x14)), 1u);
  // One line per group whose first word is not a fetch.
  std::size_t groups = 0;
  for (int a = 0; a < 256; a += 4) groups += machine.StepCountTable[a] != 0;
  EXPECT_EQ(counts.size(), 1 + groups);
}

TEST_F(VhdlGenerator, GroupOfFourNonFetchWordsCountsInTwoBits) {
  for (int a = 0; a < 4; ++a) machine.uM[a] = 0x00FFFFF7;  // group 0x00: four AEN words
  const Lines c = Generate().combinational;
  // The count 4 of the first word keeps its two low bits; group 0x00 is named Fetch.
  EXPECT_EQ(Count(c, R"(      WHEN "000000" => CT <= "00"; -- Fetch)"), 1u);
  for (const char* choice : {"00000000", "00000011", "00000010", "00000001"})
    EXPECT_EQ(Count(c, std::string("      WHEN \"") + choice + "\" => AEN <= '0'; -- " + Text(0)),
              1u)
        << choice;
}

TEST_F(VhdlGenerator, TwoFetchWordsInOneGroupGiveTwoEqualChoices) {
  machine.uM[0xE1] = machine.uM[0xE0];  // NOP: a second fetch word
  const Lines c = Generate().combinational;
  EXPECT_EQ(Count(c, R"(      WHEN "11100000" => IREN <= '0'; -- )" + Text(0xE0)), 2u);
}

TEST_F(VhdlGenerator, EachFileHasItsOwnLinesOnly) {
  const VhdlFiles f = Generate();
  struct Own {
    const char* line;
    bool micro;
  };
  for (const Own& o : std::initializer_list<Own>{
           {"ENTITY EDUMAC8_U IS", true},
           {"ENTITY EDUMAC8_C IS", false},
           {"END EDUMAC8_U;", true},
           {"ARCHITECTURE behv OF EDUMAC8_C IS", false},
           {"  puPC      : OUT   STD_LOGIC_VECTOR( 7 DOWNTO 0);  -- uPC 寄存器输出", true},
           {"SIGNAL uPC : STD_LOGIC_VECTOR( 7 DOWNTO 0);", true},
           {"  pRT       : OUT   STD_LOGIC_VECTOR( 1 DOWNTO 0);  -- RT  寄存器输出", false},
           {"  pCT       : OUT   STD_LOGIC_VECTOR( 1 DOWNTO 0);  -- CT  寄存器输出", false},
           {"SIGNAL RT: STD_LOGIC_VECTOR(1 DOWNTO 0); -- 当前周期数", false},
           {"SIGNAL CT: STD_LOGIC_VECTOR(1 DOWNTO 0); -- 下一条指令总周期数", false},
           {"\t    uPC <= I_BUS(7 DOWNTO 2) & \"00\";", true},
           {"\t    uPC <= uPC + 1;", true},
           {"  X2    <= uM( 7);", true},
           {"  uM( 7) <= X2   ;", false},
       }) {
    EXPECT_EQ(Count(f.micro, o.line), o.micro ? 1u : 0u) << o.line;
    EXPECT_EQ(Count(f.combinational, o.line), o.micro ? 0u : 1u) << o.line;
  }
  for (const Lines* file : {&f.micro, &f.combinational}) {
    EXPECT_EQ(file->front(), "LIBRARY IEEE;");
    EXPECT_EQ(file->back(), "");
    EXPECT_EQ((*file)[file->size() - 2], "END behv;");
  }
}

TEST_F(VhdlGenerator, RegisterFamilyHasTenProcessesInBothFiles) {
  const VhdlFiles f = Generate();
  for (const Lines* file : {&f.micro, &f.combinational}) {
    const Lines r2 = Block(*file, "  -- 寄存器 R2", "  -- 寄存器 R3");
    const Lines want = {
        "  -- 寄存器 R2",
        "  PROCESS(clk, rst, RWR, IR)",
        "  BEGIN",
        "    IF rst = '1' THEN",
        "      R2 <= (OTHERS=>'0');",
        "    ELSIF clk'EVENT AND clk = '1' THEN",
        "      IF (RWR = '0') AND (IR(1) = '1') AND (IR(0) = '0') THEN",
        "        R2 <= D_BUS;",
        "      END IF;",
        "    END IF;",
        "  END PROCESS;",
        "",
    };
    EXPECT_EQ(r2, want);
    EXPECT_EQ(Count(*file, "        OT <= D_BUS;"), 1u);
    EXPECT_EQ(Count(*file, "        IR <= I_BUS;"), 1u);
    EXPECT_EQ(Block(*file, "  -- 寄存器 A", "  -- 寄存器 PC").size(), 10u * 12u);
  }
}

TEST_F(VhdlGenerator, ComplementAndZeroLinesAgreeWithTheEngine) {
  const VhdlFiles f = Generate();
  for (const Lines* file : {&f.micro, &f.combinational}) {
    // Complement leaves the carry 0; a shift's zero flag looks at the shifted value only.
    EXPECT_EQ(Count(*file,
                    "       ('0' & NOT A)                  WHEN S2 = '1' AND S1 = '1' AND "
                    "S0 = '0' ELSE"),
              1u);
    EXPECT_EQ(Count(*file,
                    "        '1' WHEN (D = ALL_ZERO) AND (X1 = X0) ELSE                 "
                    "-- 直通门"),
              1u);
    EXPECT_FALSE(HasLineStartingWith(*file, "       NOT ('0' & A)"));
  }
}

TEST_F(VhdlGenerator, MemoryImageIsOneUpperCaseHexByteALine) {
  machine.EM.fill(0x3A);
  machine.EM[0xFF] = 0xBC;
  const Lines mem = Generate().memory;
  ASSERT_EQ(mem.size(), 256u);
  EXPECT_EQ(Count(mem, "3A"), 255u);
  EXPECT_EQ(mem[255], "BC");
}

class VhdlFilesOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "edumac8-vhdl-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    isa.LoadDefaults(machine.uM);
    files = GenerateVhdl(isa, machine);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return dir_ + "/" + name; }

  std::string dir_;
  InstructionSystem isa;
  Machine machine;
  VhdlFiles files;
};

TEST_F(VhdlFilesOnDisk, FilesAreGb2312WithCrLfAndMadeInAMissingDirectory) {
  const std::string sub = dir_ + "/FPGA";
  ASSERT_EQ(WriteVhdlFiles(sub, files), std::nullopt);
  const std::pair<const char*, const Lines*> outputs[] = {
      {kMicroVhdlFile, &files.micro},
      {kCombinationalVhdlFile, &files.combinational},
      {kMemoryImageFile, &files.memory},
  };
  for (const auto& [name, lines] : outputs) {
    const auto bytes = ReadWholeFile(sub + "/" + name);
    ASSERT_TRUE(bytes) << name;
    Lines back;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes->find("\r\n", start)) != std::string::npos; start = end + 2)
      back.push_back(Gb2312ToUtf8(bytes->substr(start, end - start)));
    EXPECT_EQ(start, bytes->size()) << name << ": the last line lacks CR LF";
    EXPECT_EQ(back, *lines) << name;
  }
  // "-- 寄存器定义" in GB2312.
  EXPECT_NE(ReadWholeFile(sub + "/" + kMicroVhdlFile)
                ->find("-- \xBC\xC4\xB4\xE6\xC6\xF7\xB6\xA8\xD2\xE5"),
            std::string::npos);
}

TEST_F(VhdlFilesOnDisk, SecondRunReplacesTheFilesWithTheSameBytes) {
  ASSERT_EQ(WriteVhdlFiles(dir_, files), std::nullopt);
  const auto first = ReadWholeFile(Path(kCombinationalVhdlFile));
  ASSERT_EQ(WriteVhdlFiles(dir_, GenerateVhdl(isa, machine)), std::nullopt);
  EXPECT_EQ(ReadWholeFile(Path(kCombinationalVhdlFile)), first);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 3u);
}

TEST_F(VhdlFilesOnDisk, FailedFileIsReportedAndLeavesTheOldFilesAlone) {
  // A directory where the combinational file should go cannot be replaced by a file.
  fs::create_directory(Path(kCombinationalVhdlFile));
  ASSERT_TRUE(WriteFileAtomic(Path(kMemoryImageFile), "old"));
  EXPECT_EQ(WriteVhdlFiles(dir_, files), Path(kCombinationalVhdlFile));
  EXPECT_TRUE(fs::is_directory(Path(kCombinationalVhdlFile)));
  EXPECT_EQ(ReadWholeFile(Path(kMemoryImageFile)), "old");
  EXPECT_FALSE(fs::exists(Path(kMicroVhdlFile))) << "the set is written whole or not at all";
  // No temporary file is left behind.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST_F(VhdlFilesOnDisk, AFailureBeforeTheRenamesKeepsTheWholeOldSet) {
  ASSERT_TRUE(WriteFileAtomic(Path(kMicroVhdlFile), "old U"));
  ASSERT_TRUE(WriteFileAtomic(Path(kCombinationalVhdlFile), "old C"));
  fs::create_directory(Path(kMemoryImageFile));  // the last of the three cannot be written
  EXPECT_EQ(WriteVhdlFiles(dir_, files), Path(kMemoryImageFile));
  EXPECT_EQ(ReadWholeFile(Path(kMicroVhdlFile)), "old U");
  EXPECT_EQ(ReadWholeFile(Path(kCombinationalVhdlFile)), "old C");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 3u);
}

TEST_F(VhdlFilesOnDisk, AnEmptyDirectoryNameWritesNothing) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  const auto failed = WriteVhdlFiles("", files);
  fs::current_path(before);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(VhdlFilesOnDisk, UnwritableDirectoryNamesTheFirstFile) {
  ASSERT_TRUE(WriteFileAtomic(Path("plain"), "x"));
  const std::string notADirectory = Path("plain");
  EXPECT_EQ(WriteVhdlFiles(notADirectory, files), notADirectory + "/" + kMicroVhdlFile);
}

}  // namespace
}  // namespace edumac8
