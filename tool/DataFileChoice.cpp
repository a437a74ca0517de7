#include "tool/DataFileChoice.h"

#include "app/Settings.h"
#include "contentlines/Cp1250.h"
#include "records/FileSystem.h"

std::string DataFileOf(const ImportOptions& options)
{
    if (!options.dataFile.empty())
        return options.dataFile;
    // As the main program finds it, except that a missing settings file
    // means the default name.
    Settings settings = DefaultSettings(0);
    std::string ini;
    if (filesys::ReadWholeFile(SettingsFileName(0), ini))
        ApplySettingsText(settings, ini);
    return options.utf8FileNames ? cp1250::ToUtf8(settings.m_strDataFile) : settings.m_strDataFile;
}
