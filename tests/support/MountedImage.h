#pragma once

#include <string>

/// A small file system image made in a test's folder and mounted through FUSE, as a
/// USB stick or an SD card would be: "vfat" (FAT32 by fusefat), "exfat" (exfat-fuse on
/// a loop device) or "ntfs" (ntfs-3g). Unmounted, and its loop device let go, at the end.
class MountedImage {
public:
    MountedImage(const std::string& folder, const std::string& type, int megabytes);
    ~MountedImage();
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;

    /// Where it is mounted; empty when it could not be, and why() says why.
    const std::string& mountPoint() const { return m_mountPoint; }
    const std::string& why() const { return m_why; }

private:
    std::string m_mountPoint;
    std::string m_loopDevice;
    std::string m_why;
};
