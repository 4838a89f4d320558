#include "link/link_failure.h"

#include <cerrno>
#include <cstring>

namespace {

std::string At(const std::string& where, const std::string& what) {
    return where.empty() ? what : where + ": " + what;
}

}  // namespace

std::string LinkFailureText(const CLinkFailure& f) {
    using Kind = CLinkFailure::Kind;
    switch (f.kind) {
        case Kind::kNone:
            return {};
        case Kind::kSystem:
            return At(f.strWhere, std::strerror(f.nError));
        case Kind::kDeviceOpen:
            return At(f.strWhere, std::strerror(f.nError)) +
                   (f.nError == EACCES ? " (is the user in the dialout group?)" : "");
        case Kind::kHungUp:
            return "hung up";
        case Kind::kServerClosed:
            return "closed by the server";
        case Kind::kInUse:
            return At(f.strWhere, "in use by another program");
        case Kind::kNoAnswer:
            return At(f.strWhere, "no answer within " + std::to_string(f.nSeconds) + " s");
        case Kind::kNoLookupAnswer:
            return At(f.strWhere, "no answer from the name service within " +
                                      std::to_string(f.nSeconds) + " s");
        case Kind::kNotSerial:
            return At(f.strWhere, "cannot be set up as a serial port");
        case Kind::kNoAddress:
            return At(f.strWhere, "no address");
        case Kind::kResolver:
            return At(f.strWhere, f.strText);
        case Kind::kBadName:
            return f.strText;
    }
    return {};
}
