#include "isa/ins_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "machine/machine.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

struct InsFileFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("ins_test_" + std::to_string(::getpid()));
  InstructionSystem isa;
  MicroProgram uM{};
  void SetUp() override {
    fs::create_directories(dir);
    isa.LoadDefaults(uM);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }
  void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
};

bool SameTable(const InstructionSystem& a, const InstructionSystem& b) {
  for (int i = 0; i < kEntries; ++i) {
    const InstrEntry &x = a.InstrTable[i], &y = b.InstrTable[i];
    if (x.defined != y.defined || x.opcode != y.opcode) return false;
    if (x.defined && (x.mnemonic != y.mnemonic || x.kind1 != y.kind1 || x.kind2 != y.kind2 ||
                      x.comment != y.comment))
      return false;
  }
  return true;
}

TEST_F(InsFileFixture, DefaultsRoundTripByteForByte) {
  const std::string path = Path("DEF.INS");
  ASSERT_FALSE(SaveInsFile(path, isa, uM));
  const std::string bytes = *ReadWholeFile(path);
  std::size_t records = 0;
  for (const InstrEntry& e : isa.InstrTable)
    records += e.defined ? 1 + 1 + e.mnemonic.size() + 3 + 1 + e.comment.size() : 1;
  EXPECT_EQ(bytes.size(), 34 + records + 1024);
  EXPECT_EQ(bytes.substr(0, 34), std::string("INSTURCTION & uM file for EDUMAC2\x1A", 34));
  EXPECT_EQ(bytes.substr(bytes.size() - 1024, 4), std::string("\xFF\xFF\xCB\xFF", 4))
      << "cell 0, least significant byte first";

  InstructionSystem loaded;
  MicroProgram loadedUM{};
  loaded.MakeNew(loadedUM);
  ASSERT_FALSE(LoadInsFile(path, loaded, loadedUM));
  EXPECT_TRUE(SameTable(isa, loaded));
  EXPECT_EQ(loadedUM, uM) << "high bytes of 0xFF included";
  EXPECT_EQ(loaded.InsFileName, path);
  EXPECT_EQ(EncodeInsFile(loaded, loadedUM), bytes);
}

// A file of one record only, placed at an arbitrary position.
std::string FileWith(const std::string& records, int oneByteRecords, std::size_t cells = 256) {
  std::string f(kInsSignature, sizeof kInsSignature);
  f += records;
  f += std::string(oneByteRecords, '\0');
  for (std::size_t i = 0; i < cells; ++i) f += std::string("\x12\x34\x56\x00", 4);
  return f;
}

std::string Record(const std::string& mnemonic, std::uint8_t opcode, std::uint8_t k1,
                   std::uint8_t k2, const std::string& comment = "") {
  std::string r(1, '\1');
  r += static_cast<char>(mnemonic.size());
  r += mnemonic;
  r += static_cast<char>(opcode);
  r += static_cast<char>(k1);
  r += static_cast<char>(k2);
  r += static_cast<char>(comment.size());
  return r + comment;
}

TEST_F(InsFileFixture, RecordLandsInTheEntryOfItsOpcode) {
  const std::string path = Path("POS.INS");
  Write(path, FileWith(std::string(5, '\0') + Record("ADD", 0x10, OpA, OpReg), 58));
  ASSERT_FALSE(LoadInsFile(path, isa, uM));
  EXPECT_TRUE(isa.InstrTable[4].defined);
  EXPECT_EQ(isa.InstrTable[4].mnemonic, "ADD");
  EXPECT_FALSE(isa.InstrTable[5].defined);
  EXPECT_EQ(uM[0], 0x00563412u);
}

TEST_F(InsFileFixture, ForeignRecordsAreBoundedAndSafe) {
  const std::string path = Path("BAD.INS");
  const std::string longName(40, 'Q');
  const std::string longComment(200, 'c');
  Write(path,
        FileWith(Record(longName, 0x20, OpA, 0, longComment) + Record("ODD", 0x43, OpMem, 0), 62));
  ASSERT_FALSE(LoadInsFile(path, isa, uM));
  EXPECT_EQ(isa.InstrTable[8].mnemonic, std::string(12, 'Q')) << "cut to 12 characters";
  EXPECT_EQ(isa.InstrTable[8].comment.size(), 80u);
  EXPECT_EQ(isa.InstrTable[16].opcode, 0x40) << "low op-code bits cleared";
}

TEST_F(InsFileFixture, AMnemonicCutToTwelveEndsWithoutABlank) {
  const std::string path = Path("CUT12.INS");
  Write(path, FileWith(Record("ABCDEFGHIJK  Z", 0x20, OpA, 0) +
                           Record("ABCDEFGHIJ      ", 0x24, 0, 0) + Record("  AB  ", 0x28, 0, 0),
                       61));
  ASSERT_FALSE(LoadInsFile(path, isa, uM));
  EXPECT_EQ(isa.InstrTable[8].mnemonic, "ABCDEFGHIJK");
  EXPECT_EQ(isa.InstrTable[9].mnemonic, "ABCDEFGHIJ");
  EXPECT_EQ(isa.InstrTable[10].mnemonic, "  AB") << "only trailing blanks go";
}

// Texts that would break out of the comments they are written into (VHDL, CSV, listings).
TEST_F(InsFileFixture, AControlCharacterInARecordIsAFormatError) {
  struct Case {
    const char* name;
    std::string mnemonic, comment;
    bool loads;
  };
  const Case cases[] = {
      {"CrLfInMnemonic", "AD\r\nD", "", false},
      {"NulInMnemonic", std::string("ADD\0", 4), "", false},
      {"UnitSeparatorInMnemonic", "AD\x1F", "", false},
      {"LineEndInComment", "ADD", "x\r\nEND;\r\n", false},
      {"TabInComment", "ADD", "a\tb", false},
      {"DeleteInComment", "ADD", "a\x7F", false},
      {"Gb2312Comment", "ADD", "\xBC\xC4\xB4\xE6 ~", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path("CTRL.INS");
    Write(path,
          FileWith(Record("NOP", 0x00, 0, 0) + Record(c.mnemonic, 0x10, OpA, 0, c.comment), 62));
    const auto error = LoadInsFile(path, isa, uM);
    EXPECT_EQ(error.value_or(""), c.loads ? "" : "文件格式错误：" + path);
    for (const InstrEntry& e : isa.InstrTable)
      for (const std::string* text : {&e.mnemonic, &e.comment})
        for (char ch : *text)
          ASSERT_FALSE(static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
              << "entry " << +e.opcode;
  }
}

TEST_F(InsFileFixture, OperandKindsEndAtFive) {
  const std::string path = Path("KINDS.INS");
  Write(path, FileWith(Record("FIVE", 0x10, OpMem, OpMem) + Record("SIX", 0x14, 6, 0) +
                           Record("SIXB", 0x18, 0, 6),
                       61));
  LoadInsFile(path, isa, uM);
  for (const InstrEntry& e : isa.InstrTable)
    EXPECT_TRUE(e.kind1 <= OpMem && e.kind2 <= OpMem) << e.mnemonic;
}

TEST_F(InsFileFixture, ASignatureWithNothingAfterItIsCutShort) {
  const std::string path = Path("SIGONLY.INS");
  Write(path, std::string(kInsSignature, sizeof kInsSignature));
  EXPECT_EQ(LoadInsFile(path, isa, uM).value_or(""), "读文件错误：" + path);
}

TEST_F(InsFileFixture, ForeignSignatureChangesNothing) {
  ASSERT_FALSE(SaveInsFile(Path("OK.INS"), isa, uM));
  std::string bytes = *ReadWholeFile(Path("OK.INS"));
  bytes[5] = 'x';
  Write(Path("SIG.INS"), bytes);
  isa.InsFileName = "before";
  uM[3] = 0xDEAD;
  EXPECT_EQ(LoadInsFile(Path("SIG.INS"), isa, uM).value_or(""), "文件格式错误：" + Path("SIG.INS"));
  EXPECT_EQ(isa.InsFileName, "before");
  EXPECT_EQ(uM[3], 0xDEADu);
  EXPECT_EQ(LoadInsFile(Path("NONE.INS"), isa, uM).value_or(""), "读文件错误：" + Path("NONE.INS"));
  Write(Path("SHORT.INS"), "INST");
  EXPECT_EQ(LoadInsFile(Path("SHORT.INS"), isa, uM).value_or(""),
            "文件格式错误：" + Path("SHORT.INS"));
}

// A file that does not load completely leaves the current system as it was, whatever part of
// it could be read.
TEST_F(InsFileFixture, AFailedLoadChangesNothing) {
  const std::string good = Record("ZAP", 0x04, 0, 0);
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"CutInTheMicroProgram", FileWith(good, 63, 10), "读文件错误："},
      {"CutInARecord", FileWith(good.substr(0, 3), 0, 0), "读文件错误："},
      {"CutAfterTheRecords", FileWith(good, 63, 0), "读文件错误："},
      {"OperandKindAboveFive", FileWith(good + Record("BIG", 0x30, 6, 0), 62), "文件格式错误："},
      {"SecondKindAboveFive", FileWith(Record("BIG", 0x30, 0, 200), 63), "文件格式错误："},
      {"DefinedByteNotABoolean", FileWith(std::string(1, '\2') + good.substr(1), 63),
       "文件格式错误："},
  };
  MicroProgram old;
  old.fill(0xABCDEF);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path("FAIL.INS");
    Write(path, c.bytes);
    isa.LoadDefaults(uM);
    isa.InsFileName = "before.INS";
    isa.UMModified = true;
    uM = old;
    const InstructionSystem before = isa;
    EXPECT_EQ(LoadInsFile(path, isa, uM).value_or(""), c.message + path);
    EXPECT_TRUE(SameTable(isa, before));
    EXPECT_EQ(isa.EditorKeywordList, before.EditorKeywordList);
    EXPECT_EQ(uM, old);
    EXPECT_EQ(isa.InsFileName, "before.INS");
    EXPECT_TRUE(isa.UMModified);
  }
}

TEST_F(InsFileFixture, FailedSaveKeepsTheExistingFile) {
  const std::string path = Path("KEEP.INS");
  Write(path, "precious");
  // Limit file size so that the write fails part-way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const auto error = SaveInsFile(path, isa, uM);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(error.value_or(""), "写文件错误：" + path);
  EXPECT_EQ(*ReadWholeFile(path), "precious");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1)
      << "no temporary file left behind";
}

TEST_F(InsFileFixture, NewSystemExecutesTheEmptyWord) {
  Machine m;
  isa.MakeNew(m.uM);
  m.EM[0] = 0x12;
  m.SnapshotTo(m.CurrentRecord);
  m.ResetMachine();
  m.MicroStep();
  EXPECT_EQ(m.state[Field::DBUS], 0xFF);
  EXPECT_EQ(m.state[Field::IBUS], 0xFF);
  EXPECT_EQ(m.state[Field::ABUS], 0xFF);
  EXPECT_EQ(m.state[Field::uPC], 1);
  EXPECT_EQ(m.EM[0], 0x12) << "EM is not part of an instruction system";
}

}  // namespace
}  // namespace edumac8
