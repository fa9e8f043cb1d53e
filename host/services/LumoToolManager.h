// The host's tool manager: the user-interface language.
#pragma once

#include "lumohost_export.h"

#include <QString>
#include <QtGlobal>

namespace LumoToolExt {

class LUMOHOST_EXPORT LumoToolManager
{
public:
    static LumoToolManager *instance();

    // "UI/language" of the host settings file (PARSERXML::SystemConfig), e.g. "en" or
    // "zh_cn"; "en" when not set.
    QString uiLanguages() const;
    // Stores the language; refuses (false) a text that is not a language name such as
    // "en", "zh_cn" or "pt-BR", and a settings file that cannot be written.
    bool setUiLanguage(const QString &language);

private:
    LumoToolManager() = default;
    ~LumoToolManager() = default;
    Q_DISABLE_COPY(LumoToolManager)
};

} // namespace LumoToolExt
