#pragma once
// Which controls choose a single option to send, as data: the Qt layer (fields/ui) binds
// every row whose control exists under the main window, so a model panel only has to give
// its controls the names below.
#include <span>

namespace morla::fields {

enum class Shape {
    RightPress,   // mouse press on a check box, button or label: acts on the right button only
    DoubleClick,  // double click on a text box (or label)
    Click,        // click on a button
};

enum class ValueSource {
    Unchanged,      // CommandValue keeps what it had
    BoxValue,       // "0" clear, "1" ticked, "2" greyed
    Text,           // the text of the box (of the element for arrays)
    ButtonBoolean,  // the button's Boolean value as text
    ListText,       // the current text of the list named in `list`
    Zero,           // "0"
};

enum class IndexRule {
    Unchanged,      // CommandIndex keeps what it had
    Element,        // the element number k
    ElementPlus13,  // k + 13
};

enum class Also {
    Nothing,
    KeyEditor,          // after the menu: KeyEditorMode = `mode`, then the key editor
    KeyEditorAnyPress,  // as KeyEditor, and on a press of any button (without the menu)
    KeyChangeForm,      // opens the key change form instead of the menu
};

// Element count of arrays whose count is not written; binding looks for every element.
constexpr int kAnyCount = -1;

// N of the rows whose command is the control's own number (MorChkRes01 .. 09 send 1 .. 9).
constexpr int kOwnNumber = -1;

// A control, or a control array: controls named `control` followed by a two-digit element
// number, counted from `firstElement` ("MorTxtUniMe4" + "00" .. "13", "MorChkRes" + "01" ..
// "09"); `elements` is the element count (kAnyCount when not written), 0 for a single
// control.
struct HandlerRow {
    const char* control;
    int elements;
    int firstElement;
    Shape shape;
    int n;  // CommandNumber, or kOwnNumber
    ValueSource value;
    IndexRule index;
    Also also = Also::Nothing;
    const char* mode = nullptr;  // KeyEditorMode for Also::KeyEditor*
    const char* list = nullptr;  // list whose text ValueSource::ListText takes
};

std::span<const HandlerRow> HandlerTable();

}  // namespace morla::fields
