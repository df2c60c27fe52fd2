// edumac8-manual-pdf: renders the user manual, Markdown chapters, into one PDF file.
//
//   edumac8-manual-pdf OUT.PDF CHAPTER.md...
//
// The build runs it, so HELP/EDUMAC8.PDF always describes the program it ships with. Each
// chapter starts on a new page; pictures are scaled to the text width; the fonts are embedded
// by Qt's PDF writer.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <cstdio>

namespace {

// The width the print layout gives the text on an A4 page, in document pixels.
constexpr double kPictureWidth = 560;

bool ReadChapters(int count, char** paths, QString& markdown) {
  for (int i = 0; i < count; ++i) {
    QFile file(QString::fromLocal8Bit(paths[i]));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "读文件错: %s\n", paths[i]);
      return false;
    }
    markdown += QString::fromUtf8(file.readAll()) + "\n\n";
  }
  return true;
}

void BreakPagesBeforeChapters(QTextDocument& doc) {
  bool first = true;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() != 1) continue;
    if (!first) {
      QTextBlockFormat format = block.blockFormat();
      format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      QTextCursor(block).setBlockFormat(format);
    }
    first = false;
  }
}

// Screenshots are wider than a page: each picture gets a width that fits, keeping its shape.
bool FitPictures(QTextDocument& doc) {
  bool ok = true;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QString path = doc.baseUrl().resolved(QUrl(format.name())).toLocalFile();
      const QImage picture(path);
      if (picture.isNull()) {
        std::fprintf(stderr, "读文件错: %s\n", qPrintable(path));
        ok = false;
        continue;
      }
      // Printing lays out a copy of the document, which finds pictures only among the
      // resources it was given, by the name as written or as resolved.
      doc.addResource(QTextDocument::ImageResource, QUrl(format.name()), picture);
      doc.addResource(QTextDocument::ImageResource, doc.baseUrl().resolved(QUrl(format.name())),
                      picture);
      const double width = std::min<double>(picture.width(), kPictureWidth);
      format.setWidth(width);
      format.setHeight(width * picture.height() / picture.width());
      QTextCursor cursor(&doc);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: edumac8-manual-pdf OUT.PDF CHAPTER.md...\n", stderr);
    return 2;
  }
  QString markdown;
  if (!ReadChapters(argc - 2, argv + 2, markdown)) return 1;

  QTextDocument doc;
  QFont font;
  // Latin text in the CJK face comes out with digit glyphs that have no text behind them in
  // the PDF (copying or searching "EDUMAC8" would lose the 8); DejaVu Sans sets Latin text.
  font.setFamilies({"DejaVu Sans", "Noto Sans CJK SC"});
  font.setPointSize(10);
  doc.setDefaultFont(font);
  doc.setBaseUrl(
      QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()));
  doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  BreakPagesBeforeChapters(doc);
  if (!FitPictures(doc)) return 1;

  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString temporary = out + ".part";
  {
    QPdfWriter writer(temporary);
    writer.setTitle("EDUMAC8 计算机组成原理实验系统 使用手册");
    writer.setCreator("EDUMAC8");
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    doc.print(&writer);
  }
  QFile::remove(out);
  if (!QFile::rename(temporary, out)) {
    std::fprintf(stderr, "写文件错误：%s\n", qPrintable(out));
    return 1;
  }
  return 0;
}
