#pragma once
// Every message box and question of the program goes through here, so tests can read and
// answer them; the program shows real modal boxes with Spanish buttons.
#include <QString>
#include <QVector>
#include <functional>

namespace morla {

// YesNoDefaultNo: "Sí"/"No" with "No" under Enter, for questions whose "Sí" cannot be undone.
enum class Buttons { Ok, YesNo, OkCancel, YesNoDefaultNo };
enum class Answer { Ok, Yes, No, Cancel };

class MessageSeam {
  public:
    virtual ~MessageSeam() = default;
    virtual Answer show(const QString& text, const QString& title, Buttons buttons) = 0;

    void info(const QString& text, const QString& title = QStringLiteral("MORLA")) {
        ask(text, title, Buttons::Ok);
    }
    bool yes(const QString& text, const QString& title = QStringLiteral("MORLA")) {
        return ask(text, title, Buttons::YesNo) == Answer::Yes;
    }
    bool yesDefaultNo(const QString& text, const QString& title = QStringLiteral("MORLA")) {
        return ask(text, title, Buttons::YesNoDefaultNo) == Answer::Yes;
    }
    bool accepted(const QString& text, const QString& title = QStringLiteral("MORLA")) {
        return ask(text, title, Buttons::OkCancel) == Answer::Ok;
    }

    // Runs before a box appears: the windows behind it are brought up to date first.
    std::function<void()> beforeBox;

  private:
    Answer ask(const QString& text, const QString& title, Buttons buttons) {
        if (beforeBox) beforeBox();
        return show(text, title, buttons);
    }
};

// Real modal boxes: "Aceptar", "Sí", "No", "Cancelar".
class DialogMessages : public MessageSeam {
  public:
    Answer show(const QString& text, const QString& title, Buttons buttons) override;
};

// Records every box and answers from a queue (Yes/Ok when it runs out).
class RecordedMessages : public MessageSeam {
  public:
    struct Shown {
        QString text, title;
        Buttons buttons;
    };
    QVector<Shown> shown;
    QVector<Answer> answers;

    Answer show(const QString& text, const QString& title, Buttons buttons) override;
    QStringList texts() const;
    void clear() { shown.clear(); }
};

}  // namespace morla
