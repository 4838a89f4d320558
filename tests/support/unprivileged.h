// Parts of a test that must run as an unprivileged user, since root passes
// the permission checks they are about (CI runs the suite as root).
#pragma once

#include <functional>
#include <optional>
#include <string>

// Under root: forks a child that drops to nobody and nogroup (setgroups,
// setgid, setuid), runs body there and gives back what body returned; nothing
// when the child could not drop its privileges or did not end normally. The
// child ends without running destructors, so the test's folders stay. As any
// other user: runs body in this process.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body);

// Makes path the unprivileged user's (under root; otherwise nothing to do).
bool GiveToUnprivilegedUser(const std::string& path);
