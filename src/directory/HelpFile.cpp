#include "directory/HelpFile.h"

#include <QDir>
#include <QFileInfo>

namespace HelpFile {

QString Path(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString compiled = QDir::cleanPath(folder.absoluteFilePath(QString::fromLatin1(kCompiledName)));
    if (QFileInfo(compiled).isFile())
        return compiled;
    const QString html = QDir::cleanPath(folder.absoluteFilePath(QString::fromLatin1(kHtmlName)));
    return QFileInfo(html).isFile() ? html : compiled;
}

} // namespace HelpFile
