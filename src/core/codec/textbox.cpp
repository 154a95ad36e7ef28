#include "core/codec/textbox.h"

namespace morla {

void TextBox::set(const QString& text) {
    text_ = text;
    start_ = 0;
    if (bound_ > 0 && text_.size() > bound_) text_.remove(0, text_.size() - bound_);
    notify();
}

void TextBox::append(QStringView text) {
    text_.append(text);
    if (bound_ > 0 && size() > bound_) {
        start_ = text_.size() - bound_;
        // Dropped characters are removed once they are as many as the bound: the copy then
        // costs one character per appended character, however long the session runs.
        if (start_ >= bound_) {
            text_.remove(0, start_);
            start_ = 0;
        }
    }
    notify();
}

void TextBox::clear() {
    text_.clear();
    start_ = 0;
    notify();
}

}  // namespace morla
