// File names between Qt and the core. Qt 6 decodes a file name as UTF-8 and turns every byte
// that is not UTF-8 into U+FFFD, so a name written on a Chinese Windows system (in GB2312)
// could never be opened again from the QString. These conversions keep every byte: UTF-8
// through QFile::encodeName/decodeName, any other byte as a lone surrogate U+DC80…U+DCFF
// that stands for exactly that byte. Core paths are always the file system's bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace edumac8 {

std::string PathBytes(const QString& path);
QString PathText(std::string_view bytes);

// The path as a person reads it in captions and messages: a name that is not UTF-8 is shown
// decoded as GB2312.
QString DisplayPath(const QString& path);

// A path a Qt file dialog returned. The dialog lists names as Qt decodes them, so a name that
// is not UTF-8 comes back with U+FFFD in it: such a component is replaced by the directory
// entry it was decoded from, when exactly one entry fits.
QString ResolveDialogPath(const QString& chosen);

// A command-line option's value with the bytes of the argument it came from (argv), which
// QCoreApplication::arguments() has decoded the lossy way.
QString ArgumentPath(const QString& value, int argc, char** argv);

}  // namespace edumac8
