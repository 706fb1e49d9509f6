// Carries the messages the cores have for the user out of them: a message box in the program,
// a recorder in tests, so that no core includes a widget. Called on the user-interface thread.
#pragma once

#include <string>

namespace phonomir {

enum class MessageIcon { None, Information, Exclamation, Stop, Question };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A message with an icon and an OK button.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // A failure with its string-table id, in a plain message box.
    virtual void showError(int id, const std::string& text) {
        (void)id;
        showMessage(text, MessageIcon::None);
    }
    // An OK/Cancel question that ends in "Are you sure?"; true for OK. A sink that cannot ask
    // anybody answers Cancel, so nothing is changed without consent.
    virtual bool askOkCancel(int id, const std::string& text) {
        (void)id;
        (void)text;
        return false;
    }
};

}  // namespace phonomir
