#include "settings/SettingsWriter.h"

#include "settings/SettingsCodec.h"
#include "settings/SettingsStorage.h"

#include <cstring>

int SettingsWriter::close() const
{
    return settings::replaceWholeFile(m_path, settings::encodeLines(m_lines));
}

std::string SettingsWriter::failureMessage(int error) const
{
    return "設定ファイルを保存できません\n" + m_path + "\n" + std::strerror(error);
}
