#include "settings/SettingsWriter.h"

#include "platform/TextCatalog.h"
#include "settings/SettingsCodec.h"
#include "settings/SettingsStorage.h"

#include <cstring>

int SettingsWriter::close() const
{
    return settings::replaceWholeFile(m_path, settings::encodeLines(m_lines));
}

std::string SettingsWriter::failureMessage(int error) const
{
    return platform::fillIn(platform::translate("SettingsWriter", "設定ファイルを保存できません\n%1\n%2"),
        { m_path, std::strerror(error) });
}
