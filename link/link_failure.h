// Why the port failed or could not be opened, as a value that each edge says
// in its own words: the communication log and the status bar in Japanese,
// qelvarctl and the set-up boxes in English.
#pragma once

#include <string>

struct CLinkFailure {
    enum class Kind {
        kNone,
        kSystem,        // nError (an errno) on strWhere, which may be empty
        kDeviceOpen,    // the device strWhere could not be opened: nError
        kHungUp,        // the device hung up
        kServerClosed,  // the server closed the connection
        kInUse,         // the device strWhere is held by another program
        kNoAnswer,      // strWhere did not answer within nSeconds
        kNoLookupAnswer,  // the name service gave no address for strWhere within nSeconds
        kNotSerial,     // the device strWhere cannot be set up as a serial port
        kNoAddress,     // the server strWhere has no address to connect to
        kResolver,      // the server strWhere cannot be looked up: strText, the resolver's message
        kBadName,       // strWhere is no port name: strText says why
    };
    Kind kind = Kind::kNone;
    std::string strWhere;
    int nError = 0;
    std::string strText;
    int nSeconds = 0;

    bool Empty() const { return kind == Kind::kNone; }
    bool operator==(const CLinkFailure&) const = default;

    static CLinkFailure System(int error, std::string where = {}) {
        return {Kind::kSystem, std::move(where), error, {}, 0};
    }
    static CLinkFailure DeviceOpen(std::string path, int error) {
        return {Kind::kDeviceOpen, std::move(path), error, {}, 0};
    }
    static CLinkFailure Of(Kind kind, std::string where = {}) {
        return {kind, std::move(where), 0, {}, 0};
    }
    static CLinkFailure NoAnswer(std::string where, int seconds) {
        return {Kind::kNoAnswer, std::move(where), 0, {}, seconds};
    }
    static CLinkFailure Resolver(std::string where, std::string message) {
        return {Kind::kResolver, std::move(where), 0, std::move(message), 0};
    }
    static CLinkFailure BadName(std::string name, std::string why) {
        return {Kind::kBadName, std::move(name), 0, std::move(why), 0};
    }
};

// In English: "/dev/ttyUSB0: No such file or directory", "hung up", "closed by
// the server"; empty for none.
std::string LinkFailureText(const CLinkFailure& failure);
