// edumac8-guide-pictures: draws the experiment guide's pictures as baseline JPEG files.
//
//   edumac8-guide-pictures EX.INI SAMPLES_DIR OUT_DIR
//
// The block pictures of the datapath and "NoImg.JPG" are drawn from the block and pin tables;
// each experiment's schematic from its wiring steps in EX.INI and its timing picture from a
// run of the workbench's engine (its operating steps, or a program). The shipped pictures in
// data/JPG are this program's output.
#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

#include "block_pictures.h"
#include "experiments.h"
#include "guide/experiment_reader.h"
#include "guide/jpeg_writer.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "schematic_pictures.h"
#include "timing_pictures.h"

namespace {

using namespace edumac8;
using namespace edumac8::pictures;

void Save(const QImage& drawing, const std::string& dir, const QString& name) {
  const QImage rgb = drawing.convertToFormat(QImage::Format_RGB888);
  Picture picture;
  picture.width = rgb.width();
  picture.height = rgb.height();
  picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(rgb.constScanLine(y), picture.width * 3, picture.Row(y));
  const std::optional<std::string> jpeg = EncodeJpeg(picture, {.quality = 92});
  const std::string path = dir + "/" + name.toStdString();
  if (!jpeg || !WriteFileAtomic(path, *jpeg, Durability::Derived))
    throw std::runtime_error("写文件错误：" + path);
  std::printf("%s  %d x %d\n", path.c_str(), picture.width, picture.height);
}

const TExperiment& EntryWithSchematic(const ExperimentCatalogue& catalogue,
                                      const std::string& picture) {
  for (const TExperiment& e : catalogue.Entries)
    if (e.SchematicPicture == picture) return e;
  throw std::runtime_error("EX.INI has no experiment with the picture " + picture);
}

void DrawAll(const std::string& catalogue, const std::string& samples, const std::string& out) {
  ExperimentCatalogue experiments;
  const std::optional<std::string> file = ReadWholeFile(catalogue);
  if (!file) throw std::runtime_error("读文件错: " + catalogue);
  if (const auto error = ParseExperiments(*file, experiments))
    throw std::runtime_error(ErrorBoxText(*error));

  for (const NamedPicture& p : DrawBlockPictures()) Save(p.image, out, p.file);
  const NamedPicture none = DrawNoImage();
  Save(none.image, out, none.file);

  for (const ExperimentDrawing& d : ExperimentDrawings()) {
    const TExperiment& e = EntryWithSchematic(experiments, d.schematic);
    const QString name = QString::fromStdString(Gb2312ToUtf8(e.Name));
    const QImage schematic = e.Wires.empty()
                                 ? DrawControllerSchematic(name)
                                 : DrawWiringSchematic(name, QString::fromStdString(d.dataPath), e);
    Save(schematic, out, QString::fromStdString(d.schematic));
    const std::vector<StepRecord> steps =
        d.program.empty() ? RunOperatingSteps(e, d.inputs) : RunProgram(d, samples);
    Save(DrawTiming(name + "  时序波形", steps, d.rows), out, QString::fromStdString(d.timing));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 4) {
    std::fputs("usage: edumac8-guide-pictures EX.INI SAMPLES_DIR OUT_DIR\n", stderr);
    return 2;
  }
  try {
    DrawAll(argv[1], argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
