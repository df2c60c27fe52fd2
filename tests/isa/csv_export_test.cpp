#include "isa/csv_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "support/machine_fixture.h"

namespace edumac8 {
namespace {

TEST(CsvExport, InstructionSetLines) {
  test::DefaultMachine d;
  const auto lines = CsvLines(CsvKind::InstructionSet, d.isa, d.m);
  ASSERT_EQ(lines.size(), 66u);
  EXPECT_EQ(lines[0], "Sep=;");
  EXPECT_EQ(lines[1], "助记符;机器码1;机器码2;机器码3;注释");
  EXPECT_EQ(lines[3], ";000001xx    04 - 07;;;未使用");
}

TEST(CsvExport, MicroProgramAndTraceLines) {
  test::DefaultMachine d;
  EXPECT_EQ(CsvLines(CsvKind::MicroProgram, d.isa, d.m).size(), 258u);
  EXPECT_EQ(CsvLines(CsvKind::Trace, d.isa, d.m).size(), 3u) << "right after reset";
  for (int i = 0; i < 3; ++i) d.m.MicroStep();
  EXPECT_EQ(CsvLines(CsvKind::Trace, d.isa, d.m).size(), 6u);
}

TEST(CsvExport, TraceEndsBeforeAnEmptyWord) {
  test::DefaultMachine d;
  d.isa.MakeNew(d.m.uM);
  d.m.uM[0] = 0x00FFFFFE;
  d.m.ResetMachine();
  d.m.MicroStep();  // now at micro-address 1: the empty word
  d.m.MicroStep();
  EXPECT_EQ(CsvLines(CsvKind::Trace, d.isa, d.m).size(), 3u);
}

TEST(CsvExport, FileIsGb2312WithCrLf) {
  test::DefaultMachine d;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("csv_" + std::to_string(getpid()) + ".CSV"))
          .string();
  ASSERT_FALSE(ExportCsv(CsvKind::InstructionSet, path, d.isa, d.m));
  const std::string bytes = *ReadWholeFile(path);
  EXPECT_EQ(bytes.substr(0, 7), "Sep=;\r\n");
  EXPECT_EQ(Gb2312ToUtf8(bytes.substr(7, 35)).substr(0, 9), "助记符");
  EXPECT_EQ(bytes.substr(7, 6), "\xD6\xFA\xBC\xC7\xB7\xFB") << "GB2312 bytes";
  EXPECT_TRUE(d.isa.InsFileName.empty()) << "the export keeps no instruction-system name";
  std::filesystem::remove(path);
  EXPECT_EQ(ExportCsv(CsvKind::Trace, "/nonexistent/dir/T.CSV", d.isa, d.m).value_or(""),
            "写文件错误：/nonexistent/dir/T.CSV");
}

TEST(CsvExport, AnInstructionSystemFileIsNeverOverwritten) {
  test::DefaultMachine d;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("csv_" + std::to_string(getpid()) + ".ins"))
          .string();
  WriteFileAtomic(path, "system");
  EXPECT_EQ(ExportCsv(CsvKind::MicroProgram, path, d.isa, d.m).value_or(""),
            "不能把 CSV 写入指令系统文件：" + path);
  EXPECT_EQ(*ReadWholeFile(path), "system");
  std::filesystem::remove(path);
}

TEST(CsvExport, ProposedNames) {
  const struct {
    const char* last;
    const char* source;
    CsvKind kind;
    const char* proposed;
  } cases[] = {
      {"", "", CsvKind::InstructionSet, "INST.CSV"},
      {"", "*.ASM", CsvKind::MicroProgram, "uM.CSV"},
      {"", "NONAME1", CsvKind::Trace, "Trace.CSV"},
      {"", "/work/LOOP.ASM", CsvKind::Trace, "/work/LOOP.CSV"},
      {"", "/work/loop.asm", CsvKind::Trace, "/work/loop.csv"},
      {"/out/LAST.CSV", "/work/LOOP.ASM", CsvKind::InstructionSet, "/out/LAST.CSV"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProposeCsvName(c.last, c.source, c.kind), c.proposed) << c.last << c.source;
  EXPECT_EQ(CsvTargetPath("/out/TABLE"), "/out/TABLE.CSV");
  EXPECT_EQ(CsvTargetPath("/out/table.txt"), "/out/table.txt");
  EXPECT_EQ(CsvTargetPath("/out.d/TABLE"), "/out.d/TABLE.CSV");
}

}  // namespace
}  // namespace edumac8
