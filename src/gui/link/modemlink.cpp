#include "gui/link/modemlink.h"

#include <QDir>
#include <QFileInfo>

#include "core/config/recordfile.h"
#include "gui/main/program.h"

namespace morla {

bool LineLibrary::ensureLoaded(const QString& folder, QString* error) {
    if (entry_) return true;
    const QString file = ResolvePath(JoinPath(folder, QString::fromUtf16(kLineLibraryFile)));
    const QString shown = QDir::toNativeSeparators(file);
    auto fail = [&](const QString& why) {
        if (library_.isLoaded()) library_.unload();
        if (error) *error = why;
        return false;
    };
    if (!QFileInfo(file).isFile())
        return fail(QStringLiteral("No se encontró la biblioteca de línea %1. "
                                   "El comando no se envió.")
                        .arg(shown));
    library_.setFileName(QFileInfo(file).absoluteFilePath());
    // The loader's own text is in English and about the loader: the cause is said instead.
    if (!library_.load())
        return fail(QStringLiteral("No se pudo cargar la biblioteca de línea %1 (%2). "
                                   "El comando no se envió.")
                        .arg(shown, QFileInfo(file).isReadable()
                                        ? QStringLiteral("no es una biblioteca que este sistema "
                                                         "pueda cargar, o le falta otra de la "
                                                         "que depende")
                                        : QStringLiteral("Permiso denegado")));
    entry_ = reinterpret_cast<Entry>(library_.resolve(kLineLibraryEntry));
    if (!entry_)
        return fail(QStringLiteral("La biblioteca de línea %1 no tiene la función %2. "
                                   "El comando no se envió.")
                        .arg(shown, QString::fromLatin1(kLineLibraryEntry)));
    return true;
}

void LineLibrary::call(int32_t line, const QByteArray& text) const {
    if (entry_) entry_(line, text.constData());
}

LineLibrary& LineLibraryOf(Program& p) {
    auto* lib = p.findChild<LineLibrary*>(QString(), Qt::FindDirectChildrenOnly);
    if (!lib) lib = new LineLibrary(&p);
    return *lib;
}

MorForDLLModem::MorForDLLModem(Program& p, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), p_(p) {
    setObjectName(QStringLiteral("MorForDLLModem"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Only a carrier: it must not take the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(1, 1);
}

bool MorForDLLModem::load(const QString& dialText) {
    const QString undialable = UndialableCharacters(dialText);
    if (!undialable.isEmpty()) {
        // Sent with "?" or cut short it would dial another command.
        QString shown = undialable;
        shown.replace(QChar(0), QStringLiteral("NUL"));
        p_.msg.info(QStringLiteral("El comando \"%1\" lleva caracteres que la línea no puede "
                                   "llevar (%2). El comando no se envió.")
                        .arg(QString(dialText).replace(QChar(0), QStringLiteral("NUL")), shown));
        return false;
    }
    LineLibrary& lib = LineLibraryOf(p_);
    QString error;
    if (!lib.ensureLoaded(p_.s.AppFolder, &error)) {
        p_.msg.info(error);
        return false;
    }
    // The bytes live in this array until the call returns.
    const QByteArray bytes = DialBytes(dialText);
    lib.call(0, bytes);
    return true;
}

void MorForDLLModem::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Activated: unload again once the event has returned.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool HandToLineLibrary(Program& p, QString& text) {
    text = RegroupDialText(text, LineLibraryOf(p).groups);
    auto* window = new MorForDLLModem(p, p.main.get());
    const bool handed = window->load(text);
    window->hide();
    window->show();
    return handed;
}

bool ModemTimerPID(Program& p) {
    return HandToLineLibrary(p, p.s.CommandString);
}

bool IsModemMode(const Program& p) {
    return p.s.ModeCode == QString::fromUtf16(kModemMode);
}

}  // namespace morla
