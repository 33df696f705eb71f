#include "run/TakenNames.h"

#include "platform/FolderListing.h"
#include "run/NameRules.h"

#include <string_view>
#include <utility>

namespace run {

TakenNames::TakenNames(std::string folder, bool foldsCase, bool readFolder)
    : m_folder(std::move(folder)), m_foldsCase(foldsCase)
{
    if (!readFolder)
        return;
    platform::FolderListing listing;
    if (!listing.read(m_folder))
        return;
    m_names.reserve(listing.size());
    for (std::size_t i = 0; i < listing.size(); ++i)
        m_names.insert(m_foldsCase ? caseFoldedKey(listing.name(i)) : std::string(listing.name(i)));
    m_listed = true;
}

bool TakenNames::isNameTaken(std::string_view name) const
{
    if (!m_listed || name.empty() || name.find('/') != std::string_view::npos)
        return entryExists(m_folder + std::string(name));
    if (m_foldsCase ? m_names.contains(caseFoldedKey(name)) : m_names.contains(name))
        return true;
    // A folding file system may fold pairs our key keeps apart; it has the last word.
    return m_foldsCase && entryExists(m_folder + std::string(name));
}

} // namespace run
