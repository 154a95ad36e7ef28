#pragma once
// The text a box of the monitor or the hidden log holds, kept apart from any widget so the
// receive path appends to it in constant time and the decoders read it without a widget.
#include <QString>
#include <QStringView>
#include <functional>

namespace morla {

class TextBox {
  public:
    // A bound of 0 keeps everything; otherwise the oldest characters beyond the bound are
    // dropped from the front.
    explicit TextBox(qsizetype bound = 0) : bound_(bound) {}

    QStringView view() const { return QStringView(text_).mid(start_); }
    QString text() const { return view().toString(); }
    qsizetype size() const { return text_.size() - start_; }
    bool isEmpty() const { return size() == 0; }
    qsizetype bound() const { return bound_; }

    void set(const QString& text);
    void append(QStringView text);
    void clear();

    // Called after every change (a view repaints from it).
    std::function<void()> changed;

  private:
    void notify() {
        if (changed) changed();
    }
    QString text_;
    qsizetype start_ = 0;  // characters dropped but not yet removed from text_
    qsizetype bound_;
};

}  // namespace morla
