// Checks that root would pass by its privileges alone (a file it may not read
// or write) run in a forked child as an unprivileged user: nobody when the
// tests run as root, else the user they run as.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

// The user and group the child runs as.
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();

// What work returned in the child; nothing when no child could be made, it
// could not drop its privileges, or it did not end normally.
std::optional<std::string> InUnprivilegedChild(const std::function<std::string()>& work);

// The same in a child that stays root (for one that needs its own mount
// namespace, say).
std::optional<std::string> InChild(const std::function<std::string()>& work);
