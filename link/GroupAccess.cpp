#include "link/GroupAccess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The group file line "name:password:gid:member,member,...": does it name
// the group, and is the user among its members?
bool ListsMember(const std::string& line, const std::string& group, const std::string& user) {
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, ':');) {
        fields.push_back(field);
    }
    if (fields.size() < 4 || fields[0] != group) {
        return false;
    }
    std::stringstream members(fields[3]);
    for (std::string member; std::getline(members, member, ',');) {
        if (member == user) {
            return true;
        }
    }
    return false;
}

}  // namespace

CGroupAccess CGroupAccess::Of(const std::string& devicePath, const std::string& groupFile) {
    CGroupAccess access;
    struct stat info {};
    if (::stat(devicePath.c_str(), &info) != 0) {
        return access;
    }
    const gid_t gid = info.st_gid;
    if (const struct group* entry = ::getgrgid(gid)) {
        access.group = entry->gr_name;
    } else {
        access.group = std::to_string(gid);
    }
    gid_t primary = static_cast<gid_t>(-1);
    if (const struct passwd* user = ::getpwuid(::geteuid())) {
        access.userName = user->pw_name;
        primary = user->pw_gid;
    }
    access.userInGroup = primary == gid;
    std::ifstream in(groupFile);
    for (std::string line; !access.userInGroup && std::getline(in, line);) {
        access.userInGroup = ListsMember(line, access.group, access.userName);
    }
    access.sessionInGroup = ::getegid() == gid;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count) {
        for (gid_t held : groups) {
            access.sessionInGroup = access.sessionInGroup || held == gid;
        }
    }
    return access;
}
