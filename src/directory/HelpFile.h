#pragma once

#include <QString>

// The help document beside the executable.
namespace HelpFile {

inline constexpr char kCompiledName[] = "qvhelp.chm";
inline constexpr char kHtmlName[] = "qvhelp.html";

// qvhelp.chm in the program's folder when it is there, else qvhelp.html when
// that is there, else the path of qvhelp.chm all the same.
QString Path(const QString& programFolder);

} // namespace HelpFile
