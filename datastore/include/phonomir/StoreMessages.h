// String-table texts of the data store's messages and questions, by id (4100..4261).
#pragma once

#include <string>

namespace phonomir {

enum StoreMessage {
    kAskConvertImpulse = 4100, kAskConvertFolder = 4101, kAskConvertPreset = 4102,
    kAskConvertMicCal = 4103, kAskDeleteCalculation = 4104, kAskConvertAcf = 4105,
    kAskConvertNoise = 4106,
    kCantDeleteImpulseData = 4243, kCantFindFolder = 4244, kCantDeleteFolder = 4245,
};

// The text of message id; empty for an unknown id.
const std::string &storeMessageText(int id);
// "%s (Error=%d)": the message text followed by the engine status.
std::string withEngineError(int id, int status);

}  // namespace phonomir
