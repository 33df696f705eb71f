// Fuzz target: whatever a settings file holds, reading it never selects an operation
// outside 0 to 3, and what was read is saved and read back unchanged, so no character
// of a stored folder or extension list is lost or altered by a save.
#include "settings/SettingsFile.h"
#include "settings/SettingsInputs.h"
#include "settings/SettingsWriter.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct Inputs final : SettingsInputs {
    std::array<QString, 2> folders;
    int operation = 0;
    QString fileType = QStringLiteral("jpg");
    bool skip = false;

    QString folderText(Folder folder) const override { return folders[folder]; }
    void setFolderText(Folder folder, const QString& text) override { folders[folder] = text; }
    int selectedOperation() const override { return operation; }
    void selectOperation(int index) override { operation = index; }
    QString fileTypeText() const override { return fileType; }
    void setFileTypeText(const QString& text) override { fileType = text; }
    bool skipIdentical() const override { return skip; }
    void setSkipIdentical(bool value) override { skip = value; }

    bool operator==(const Inputs& other) const
    {
        return folders == other.folders && operation == other.operation && fileType == other.fileType
            && skip == other.skip;
    }
};

const std::string& workFolder()
{
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        // tmpfs where there is one: the save flushes to disk, which would slow each run.
        const char* root = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (base && *base == '/' ? base : "/tmp");
        std::string pattern = std::string(root) + "/quorvane-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string stored = workFolder() + "/Quorvane.qvn";
    const std::string saved = workFolder() + "/saved.qvn";
    std::ofstream(stored, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    Inputs first;
    LoadSettings(stored, first, QStringLiteral("/tmp/"));
    if (first.operation < 0 || first.operation > 3)
        std::abort();

    SettingsWriter writer(saved);
    WriteSettings(writer, first);
    if (writer.close() != 0)
        std::abort();
    // A different fallback, so that a failed second read cannot pass for a good one.
    Inputs second;
    LoadSettings(saved, second, QStringLiteral("/fallback/"));
    if (!(second == first))
        std::abort(); // libFuzzer keeps the input, to be run again under a debugger
    return 0;
}
