#include "ui/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/text_codec.h"

namespace edumac8 {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80…U+DCFF stand for the bytes 80…FF

bool IsEscapedByte(QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The entries of a directory, as bytes.
std::vector<std::string> EntriesOf(const std::string& directory) {
  std::vector<std::string> entries;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
  if (!dir) return entries;
  while (const dirent* entry = ::readdir(dir.get())) entries.emplace_back(entry->d_name);
  return entries;
}

}  // namespace

std::string PathBytes(const QString& path) {
  std::string bytes;
  QString run;
  const auto flush = [&] {
    bytes += QFile::encodeName(run).toStdString();
    run.clear();
  };
  for (qsizetype i = 0; i < path.size(); ++i) {
    const QChar c = path[i];
    const bool paired = c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate();
    if (paired) {
      run += c;
      run += path[++i];
    } else if (IsEscapedByte(c)) {
      flush();
      bytes += static_cast<char>(c.unicode() - kEscapeBase);
    } else {
      run += c;
    }
  }
  flush();
  return bytes;
}

QString PathText(std::string_view bytes) {
  QString text;
  std::size_t runStart = 0;
  const auto flush = [&](std::size_t end) {
    const std::string_view run = bytes.substr(runStart, end - runStart);
    text += QFile::decodeName(QByteArray(run.data(), static_cast<qsizetype>(run.size())));
  };
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = Utf8CharacterAt(bytes, i);
    if (n > 0) {
      i += n;
      continue;
    }
    flush(i);
    text += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
    runStart = ++i;
  }
  flush(bytes.size());
  return text;
}

QString DisplayPath(const QString& path) {
  const std::string bytes = PathBytes(path);
  if (IsUtf8(bytes)) return path;
  return QString::fromStdString(Gb2312ToUtf8(bytes));
}

QString ResolveDialogPath(const QString& chosen) {
  if (!chosen.contains(QChar::ReplacementCharacter) || Exists(PathBytes(chosen))) return chosen;
  const QStringList parts = chosen.split('/');
  std::string resolved;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) resolved += '/';
    std::string part = PathBytes(parts[i]);
    if (parts[i].contains(QChar::ReplacementCharacter)) {
      int matches = 0;
      for (const std::string& entry : EntriesOf(resolved.empty() ? "." : resolved)) {
        if (QFile::decodeName(QByteArray::fromStdString(entry)) != parts[i]) continue;
        part = entry;
        ++matches;
      }
      if (matches != 1) return chosen;  // nothing, or no way to tell which
    }
    resolved += part;
  }
  return PathText(resolved);
}

QString ArgumentPath(const QString& value, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view raw(argv[i]);
    if (QFile::decodeName(QByteArray(argv[i])) == value) return PathText(raw);
    // --option=VALUE
    const std::size_t equals = raw.find('=');
    if (raw.starts_with("--") && equals != std::string_view::npos &&
        QFile::decodeName(QByteArray(argv[i] + equals + 1)) == value)
      return PathText(raw.substr(equals + 1));
  }
  return value;
}

}  // namespace edumac8
