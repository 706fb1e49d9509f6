// Carries user-visible messages out of the cores: a message box in the program, a recorder in
// tests. Called on the user-interface thread.
#pragma once

#include <string>

namespace phonomir {

enum class MessageIcon { None, Information, Exclamation, Stop };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
};

}  // namespace phonomir
