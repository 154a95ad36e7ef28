#include "gui/fields/fieldhandlers.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "core/fields/handlers.h"
#include "gui/fields/fieldrules.h"
#include "gui/main/program.h"
#include "gui/panels/keychangeform.h"

namespace morla {

namespace {

using fields::Also;
using fields::HandlerRow;
using fields::IndexRule;
using fields::Shape;
using fields::ValueSource;

KeyEditor gKeyEditor = nullptr;

// The key editor run that waits for the menu to close; a new menu replaces it.
QMetaObject::Connection gPendingEditor;

QString checkValue(QWidget* control) {
    auto* box = qobject_cast<QCheckBox*>(control);
    if (!box) return QString();
    switch (box->checkState()) {
        case Qt::Unchecked:
            return QStringLiteral("0");
        case Qt::Checked:
            return QStringLiteral("1");
        case Qt::PartiallyChecked:
            return QStringLiteral("2");
    }
    return QString();
}

QString textOf(QWidget* control) {
    if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    return QString();
}

// One row of the table on one control (one element of an array).
class ControlHandler : public QObject {
  public:
    ControlHandler(Program& p, const HandlerRow& row, int element, QWidget* control)
        : QObject(control), p_(p), row_(row), element_(element), control_(control) {
        if (row.shape == Shape::Click) {
            if (auto* button = qobject_cast<QAbstractButton*>(control))
                connect(button, &QAbstractButton::clicked, this, [this] { act(QCursor::pos()); });
            return;
        }
        control->installEventFilter(this);
        // The right button belongs to "Comando" here, not to a context menu.
        if (row.shape == Shape::RightPress) control->setContextMenuPolicy(Qt::PreventContextMenu);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control_) return false;
        if (row_.shape == Shape::RightPress && event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                act(mouse->globalPosition().toPoint());
                return true;
            }
            // The control's own click still happens after this.
            if (row_.also == Also::KeyEditorAnyPress)
                RunKeyEditor(p_, QString::fromLatin1(row_.mode));
            return false;
        }
        if (row_.shape == Shape::DoubleClick && event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) act(mouse->globalPosition().toPoint());
        }
        return false;
    }

  private:
    void act(const QPoint& globalPos) {
        MorlaState& s = p_.s;
        s.CommandNumber = QString::number(row_.n == fields::kOwnNumber ? element_ : row_.n);
        switch (row_.value) {
            case ValueSource::Unchanged:
                break;
            case ValueSource::BoxValue:
                s.CommandValue = checkValue(control_);
                break;
            case ValueSource::Text:
                s.CommandValue = textOf(control_);
                break;
            case ValueSource::ButtonBoolean: {
                // A command button is true only while its click runs, never on a press.
                auto* button = qobject_cast<QAbstractButton*>(control_);
                const bool value = button && button->isDown();
                s.CommandValue = value ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
                break;
            }
            case ValueSource::Zero:
                s.CommandValue = QStringLiteral("0");
                break;
            case ValueSource::ListText:
                if (auto* list =
                        control_->window()->findChild<QComboBox*>(QLatin1String(row_.list)))
                    s.CommandValue = list->currentText();
                break;
        }
        switch (row_.index) {
            case IndexRule::Unchanged:
                break;
            case IndexRule::Element:
                s.CommandIndex = QString::number(element_);
                break;
            case IndexRule::ElementPlus13:
                s.CommandIndex = QString::number(element_ + 13);
                break;
        }
        if (row_.also == Also::KeyChangeForm) {
            OpenKeyChangeForm(p_);
            return;
        }
        const bool editor = row_.also == Also::KeyEditor || row_.also == Also::KeyEditorAnyPress;
        ShowCommandMenu(p_, globalPos, editor ? row_.mode : nullptr);
    }

    Program& p_;
    const HandlerRow& row_;
    int element_;
    QWidget* control_;
};

// Element number of `name` for `row`, or -1 when the name is not one of its controls.
int elementOf(const HandlerRow& row, const QString& name) {
    if (row.elements == 0) return name == QLatin1String(row.control) ? 0 : -1;
    if (name.chopped(2) != QLatin1String(row.control)) return -1;
    const int k = ElementNumber(name);
    return k >= row.firstElement ? k : -1;
}

}  // namespace

void BindFieldHandlers(Program& p, QWidget* root) {
    const auto table = fields::HandlerTable();
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty()) continue;
        for (size_t r = 0; r < table.size(); ++r) {
            const int k = elementOf(table[r], name);
            if (k < 0) continue;
            const QByteArray bound = "morlaHandler" + QByteArray::number(qulonglong(r));
            if (control->property(bound.constData()).toBool()) continue;
            control->setProperty(bound.constData(), true);
            new ControlHandler(p, table[r], k, control);
        }
    }
}

void ShowCommandMenu(Program& p, const QPoint& globalPos, const char* keyEditorMode) {
    QMenu* menu = p.main->mnuComando;
    QObject::disconnect(gPendingEditor);
    if (keyEditorMode) {
        const QString mode = QString::fromLatin1(keyEditorMode);
        // After "Enviar" (triggered after the menu hides) has run, as when the menu returns.
        gPendingEditor = QObject::connect(
            menu, &QMenu::aboutToHide, &p,
            [&p, mode] { QTimer::singleShot(0, &p, [&p, mode] { RunKeyEditor(p, mode); }); },
            Qt::SingleShotConnection);
    }
    menu->popup(globalPos);
}

void InstallKeyEditor(KeyEditor editor) {
    gKeyEditor = editor;
}

void RunKeyEditor(Program& p, const QString& mode) {
    p.s.KeyEditorMode = mode;
    if (gKeyEditor) gKeyEditor(p);
}

}  // namespace morla
