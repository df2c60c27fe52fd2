// The catalogue and pictures shipped in data/: what a course meets on day one must read
// cleanly, name pictures that are there, and wire and switch only what the box has.
#include <gtest/gtest.h>

#include <set>

#include "guide/experiment_reader.h"
#include "guide/picture_decoder.h"
#include "guide/picture_path.h"
#include "guide/pin_table.h"
#include "machine/micro_word.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

const std::string kData = EDUMAC8_DATA_DIR;
const std::string kJpg = kData + "/JPG/";

std::string CatalogueBytes() { return ReadWholeFile(kData + "/HELP/EX.INI").value_or(""); }

ExperimentCatalogue Shipped() {
  ExperimentCatalogue c;
  const auto error = ParseExperiments(CatalogueBytes(), c);
  EXPECT_FALSE(error) << (error ? ErrorBoxText(*error) : "");
  return c;
}

void ExpectPicture(const std::string& name) {
  const auto path = FindPicture(kJpg, Gb2312ToUtf8(name));
  ASSERT_TRUE(path) << name;
  const auto picture = LoadPicture(*path);
  ASSERT_TRUE(picture) << name;
  EXPECT_GE(picture->width, 320) << name;
  EXPECT_GE(picture->height, 240) << name;
  EXPECT_LE(picture->width, 1280) << name;
  EXPECT_LE(picture->height, 960) << name;
}

TEST(ShippedCatalogue, IsGb2312WithCrLfOnEveryLine) {
  const std::string bytes = CatalogueBytes();
  ASSERT_FALSE(bytes.empty());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "byte " << i;
    }
    if (bytes[i] == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "byte " << i;
    }
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    // A GB2312 character: both bytes in A1-FE (lead up to F7).
    ASSERT_LT(i + 1, bytes.size());
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    ASSERT_TRUE(lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE) << "byte " << i;
    ++i;
  }
}

TEST(ShippedCatalogue, EveryExperimentIsComplete) {
  const ExperimentCatalogue c = Shipped();
  ASSERT_GE(c.ExpCount(), 6);
  int withSteps = 0;
  for (const TExperiment& e : c.Entries) {
    const std::string name = Gb2312ToUtf8(e.Name);
    EXPECT_FALSE(e.Name.empty());
    EXPECT_FALSE(e.Requirement.empty()) << name;
    EXPECT_FALSE(e.Purpose.empty()) << name;
    EXPECT_FALSE(e.Notes.empty()) << name;
    ExpectPicture(e.SchematicPicture);
    ExpectPicture(e.TimingPicture);
    if (e.WireCount() > 0 && e.OpCount() > 0) ++withSteps;
  }
  EXPECT_GE(withSteps, 5);
  // The course's order.
  const char* const kOrder[] = {"运算器", "移位", "存储器", "微程序控制器", "中断", "FPGA"};
  for (int i = 0; i < 6; ++i)
    EXPECT_NE(Gb2312ToUtf8(c.Entries[i].Name).find(kOrder[i]), std::string::npos) << i;
}

TEST(ShippedCatalogue, WiresJoinASwitchToTheInputOfItsSignal) {
  for (const TExperiment& e : Shipped().Entries) {
    for (const WireStep& w : e.Wires) {
      ASSERT_LT(w.first, kPinCount);
      ASSERT_LT(w.second, kPinCount);
      const int bit = std::min(w.first, w.second);
      const int input = std::max(w.first, w.second);
      ASSERT_LT(bit, kSwitchPins) << Gb2312ToUtf8(w.text);
      ASSERT_GE(input, kSwitchPins) << Gb2312ToUtf8(w.text);
      EXPECT_EQ(PinAt(input).signal, SignalName(bit)) << Gb2312ToUtf8(w.text);
      EXPECT_FALSE(w.text.empty());
    }
  }
}

TEST(ShippedCatalogue, OperatingMasksLeaveBits24To27Clear) {
  for (const TExperiment& e : Shipped().Entries) {
    for (const OpStep& op : e.Ops) {
      EXPECT_EQ(static_cast<unsigned>(op.marked) & kUnusedMaskBits, 0u) << Gb2312ToUtf8(op.text);
      EXPECT_EQ(static_cast<unsigned>(op.position) & kUnusedMaskBits, 0u) << Gb2312ToUtf8(op.text);
      // A key indicator is pressed (10) or released (01), never both.
      for (int shift : {30, 28}) EXPECT_NE((static_cast<unsigned>(op.position) >> shift) & 3, 3u);
      EXPECT_FALSE(op.text.empty());
    }
  }
}

TEST(ShippedPictures, EveryBlockOfTheDiagramHasItsPicture) {
  // The block table's file names, exactly as the diagram opens them.
  for (const char* name : {"IA.JPG", "ST.JPG", "PC.JPG", "MAR.JPG", "L.JPG", "D.JPG", "Rr.JPG",
                           "R.JPG", "IN.JPG", "OUT.JPG", "EM.JPG", "ALU.JPG", "uPC.JPG", "IR.JPG",
                           "A.JPG", "W.JPG", "uM.JPG", "NoImg.JPG"}) {
    EXPECT_TRUE(FileReadable(kJpg + name)) << name;
    ExpectPicture(name);
  }
}

TEST(PinTable, EverySignalHasAnInputAndPinsEndAt69) {
  std::set<std::string_view> inputs;
  for (int pin = kSwitchPins; pin < kPinCount; ++pin) {
    EXPECT_FALSE(PinAt(pin).signal.empty()) << pin;
    EXPECT_FALSE(PinAt(pin).block.empty()) << pin;
    inputs.insert(PinAt(pin).signal);
  }
  for (int bit = 0; bit < 24; ++bit) {
    EXPECT_EQ(PinAt(bit).signal, SignalName(bit));
    EXPECT_TRUE(inputs.count(SignalName(bit))) << SignalName(bit);
  }
  EXPECT_TRUE(PinAt(70).signal.empty());
  EXPECT_TRUE(PinAt(-1).signal.empty());
}

}  // namespace
}  // namespace edumac8
