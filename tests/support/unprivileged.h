// Parts of a test that must run as an unprivileged user, since root passes
// the permission checks they are about (CI runs the suite as root).
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

// The user and group such parts run as: nobody and nogroup under root, else
// the user the tests run as.
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();

// Runs body in a forked child that, under root, first drops to the
// unprivileged user (setgroups, setgid, setuid, and checks it cannot get root
// back); gives back what body returned, or nothing when no child could be
// made, it could not drop its privileges or did not end normally. The child
// ends without running destructors, so the test's folders stay.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body);

// The same in a child that keeps its privileges (for one that needs a mount
// namespace of its own, say).
std::optional<std::string> InChild(const std::function<std::string()>& body);

// Makes path the unprivileged user's (under root; otherwise nothing to do).
bool GiveToUnprivilegedUser(const std::string& path);
