// Where the data store sends what it has to tell the user: a message box in the program, a
// recorder in tests. Called on the user-interface thread; the store never includes a widget.
#pragma once

#include <string>

namespace phonomir {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A failure, shown in a plain message box. id: string-table id; text: the full text.
    virtual void showError(int id, const std::string &text) = 0;
    // An OK/Cancel question with a question icon; true for OK.
    virtual bool askOkCancel(int id, const std::string &text) = 0;
};

}  // namespace phonomir
