#include "platform/ErrorBox.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <exception>
#include <stdexcept>

namespace {
ErrorPresenter& presenter()
{
    static ErrorPresenter p;
    return p;
}
} // namespace

void setApplicationTitle(const QString& title)
{
    // The application name, not the display name: Qt would append a display
    // name to every window title.
    QCoreApplication::setApplicationName(title);
}

QString applicationTitle()
{
    return QCoreApplication::applicationName();
}

QString withFullStop(const QString& message)
{
    if (message.isEmpty())
        return message;
    // The last code point: a surrogate pair counts as one character.
    const QChar last = message.back();
    const char32_t code = (last.isLowSurrogate() && message.size() >= 2 && message[message.size() - 2].isHighSurrogate())
                              ? QChar::surrogateToUcs4(message[message.size() - 2], last)
                              : last.unicode();
    return code > U'.' ? message + QLatin1Char('.') : message;
}

std::unique_ptr<QMessageBox> makeErrorBox(const QString& message)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, applicationTitle(), withFullStop(message),
                                             QMessageBox::Ok);
    box->setObjectName("ErrorBox");
    return box;
}

void showErrorBox(const QString& message)
{
    if (presenter()) {
        presenter()(applicationTitle(), withFullStop(message));
        return;
    }
    makeErrorBox(message)->exec();
}

ErrorPresenter setErrorPresenter(ErrorPresenter p)
{
    ErrorPresenter previous = std::move(presenter());
    presenter() = std::move(p);
    return previous;
}

QString currentExceptionText()
{
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

bool reportErrors(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        showErrorBox(currentExceptionText());
        return false;
    }
}
