#include "phonomir/StoreMessages.h"

#include <map>

namespace phonomir {
namespace {

const std::map<int, std::string> &texts() {
    static const std::map<int, std::string> table = {
        {4100, "Need convert impulse response data file. Are you sure?"},
        {4101, "Need convert from old folder recording file into new one. Are you sure?"},
        {4102, "Need convert from old preset file into new one. Are you sure?"},
        {4103, "Need convert from old microphone calibration data into new one. Are you sure?"},
        {4104, "Delete old calculation file. Are you sure?"},
        {4105, "Need convert from old running ACF file into new one. Are you sure?"},
        {4106, "Need convert from old noise measurement file into new one. Are you sure?"},
        {4200, "Can't create folder."}, {4201, "Can't open folder."}, {4202, "Can't convert folder."},
        {4203, "Can't create folder index file."}, {4204, "Can't read folder."}, {4205, "Can't write folder."},
        {4207, "Can't create impulse response file."}, {4208, "Can't open impulse response file."},
        {4209, "Can't convert impulse response file."},
        {4241, "Can't create impulse response index file 1."}, {4242, "Can't create impulse response index file 2."},
        {4210, "Can't read impulse response file."}, {4211, "Can't write impulse response file."},
        {4212, "Can't create calculation file."}, {4213, "Can't open calclation file."},
        {4214, "Can't create calculation index file."},
        {4218, "Can't create inverse filter file."}, {4219, "Can't open inverse filter file."},
        {4220, "Can't create inverse filter index file."}, {4221, "Can't read inverse filter file."},
        {4222, "Can't write inverse filter file."}, {4224, "Can't delete inverse filter file."},
        {4225, "Can't create microphone caliblation file."}, {4226, "Can't open microphone caliblation file."},
        {4227, "Can't convert microphone caliblation file."},
        {4228, "Can't create microphone caliblation index file."},
        {4229, "Can't read microphone caliblation file."}, {4230, "Can't write microphone caliblation file."},
        {4232, "Can't delete microphone caliblation file."},
        {4233, "Can't create preset file."}, {4234, "Can't open preset file."}, {4235, "Can't convert preset file."},
        {4236, "Can't create preset index file."}, {4237, "Can't read preset file."},
        {4238, "Can't write preset file."}, {4240, "Can't delete preset file."},
        {4248, "Can't create running ACF file."}, {4249, "Can't open running ACF file."},
        {4250, "Can't convert running ACF file."}, {4253, "Can't create running ACF index file 1."},
        {4254, "Can't create running ACF index file 2."}, {4251, "Can't read running ACF file."},
        {4252, "Can't write running ACF file."},
        {4255, "Can't create noise measurement file."}, {4256, "Can't open noise measurement file."},
        {4257, "Can't convert noise measurement file."}, {4260, "Can't create noise measurement index file 1."},
        {4261, "Can't create noise measurement index file 2."},
        {4243, "Can't delete impulse response data."}, {4244, "Can't find folder."},
        {4245, "Can't delete folder."},
    };
    return table;
}

}  // namespace

const std::string &storeMessageText(int id) {
    static const std::string none;
    const auto found = texts().find(id);
    return found == texts().end() ? none : found->second;
}

std::string withEngineError(int id, int status) {
    return storeMessageText(id) + " (Error=" + std::to_string(status) + ")";
}

}  // namespace phonomir
