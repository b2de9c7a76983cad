#pragma once

#include <QByteArray>
#include <QString>

// The help document: beside the executable, in the installation, or the copy
// built into the program.
namespace HelpFile {

inline constexpr char kCompiledName[] = "qvhelp.chm";
inline constexpr char kHtmlName[] = "qvhelp.html";
// The help of an installation, relative to the folder of the installed executable.
inline constexpr char kInstalledRelative[] = "../share/quorvel";

// qvhelp.chm in the program's folder when it is there, else qvhelp.html
// there, else qvhelp.html of the installation; empty when none is there.
QString Path(const QString& programFolder);

// Path(), or else the built-in copy written to `spareFolder` (made if need
// be, rewritten when it differs). Raises an error naming the file when even
// that cannot be written.
QString Find(const QString& programFolder, const QString& spareFolder);

// The text of the copy built into the program.
QByteArray BuiltIn();

// Where the built-in copy is written: the user's cache folder for the program.
QString SpareFolder();

} // namespace HelpFile
