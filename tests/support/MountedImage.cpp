#include "support/MountedImage.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool succeeds(const std::string& command)
{
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

std::string outputOf(const std::string& command)
{
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

} // namespace

MountedImage::MountedImage(const std::string& folder, const std::string& type, int megabytes)
{
    struct Tools {
        const char* type;
        const char* make;  // program, then its options
        const char* mount;
        bool loop;         // mounts a block device, not the image file
    };
    static const Tools tools[] = {
        {"vfat", "mkfs.vfat -F 32", "fusefat -o rw+", false},
        {"exfat", "mkfs.exfat", "mount.exfat-fuse", true},
        {"ntfs", "mkfs.ntfs -F -Q", "ntfs-3g", false},
    };
    const Tools* chosen = &tools[0];
    while (chosen->type != type)
        ++chosen;
    const auto program = [](const std::string& command) { return command.substr(0, command.find(' ')); };
    const std::string image = folder + "/" + type + ".img";
    const std::string point = folder + "/" + type;
    if (::geteuid() != 0)
        m_why = "mounting images needs root";
    else if (::access("/dev/fuse", R_OK | W_OK) != 0)
        m_why = "/dev/fuse is missing";
    else if (chosen->loop && ::access("/dev/loop-control", R_OK | W_OK) != 0)
        m_why = "loop devices are missing";
    else if (!succeeds("command -v " + program(chosen->make) + " && command -v " + program(chosen->mount)))
        m_why = "the tools for " + type + " are not installed";
    if (!m_why.empty())
        return;
    ::mkdir(point.c_str(), 0755);
    if (!succeeds("truncate -s " + std::to_string(megabytes) + "M '" + image + "' && " + chosen->make + " '" + image + "'")) {
        m_why = "mkfs failed for " + type;
        return;
    }
    std::string device = image;
    if (chosen->loop) {
        m_loopDevice = outputOf("losetup -f --show '" + image + "' 2>/dev/null");
        if (m_loopDevice.empty()) {
            m_why = "no free loop device";
            return;
        }
        device = m_loopDevice;
    }
    if (!succeeds(std::string(chosen->mount) + " '" + device + "' '" + point + "'")) {
        m_why = "mounting " + type + " failed";
        return;
    }
    m_mountPoint = point;
}

MountedImage::~MountedImage()
{
    if (!m_mountPoint.empty())
        succeeds("umount '" + m_mountPoint + "'");
    if (!m_loopDevice.empty())
        succeeds("losetup -d " + m_loopDevice);
}
