#include "directory/HelpFile.h"

#include "base/GxException.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

// Resources of a static library are linked in only when asked for by name.
static void initBuiltInHelp()
{
    Q_INIT_RESOURCE(quorvel_help);
}

namespace HelpFile {

namespace {
QString existing(const QString& folder, const char* name)
{
    const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(QString::fromLatin1(name)));
    return QFileInfo(path).isFile() ? path : QString();
}
} // namespace

QString Path(const QString& programFolder)
{
    for (const QString& path :
         {existing(programFolder, kCompiledName), existing(programFolder, kHtmlName),
          existing(QDir(programFolder).filePath(QString::fromLatin1(kInstalledRelative)), kHtmlName)})
        if (!path.isEmpty())
            return path;
    return {};
}

QString Find(const QString& programFolder, const QString& spareFolder)
{
    const QString found = Path(programFolder);
    if (!found.isEmpty())
        return found;

    const QString spare = QDir::cleanPath(QDir(spareFolder).absoluteFilePath(QString::fromLatin1(kHtmlName)));
    const QByteArray text = BuiltIn();
    QFile current(spare);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text)
        return spare;
    current.close();

    QSaveFile out(spare);
    const bool written = QDir().mkpath(spareFolder) && out.open(QIODevice::WriteOnly) &&
                         out.write(text) == text.size() && out.commit();
    if (!written)
        throw EGxError(("Не удалось записать справку в файл \"" + spare + "\"").toStdString());
    return spare;
}

QByteArray BuiltIn()
{
    initBuiltInHelp();
    QFile file(QStringLiteral(":/help/qvhelp.html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SpareFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quorvel");
}

} // namespace HelpFile
