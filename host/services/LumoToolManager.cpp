#include "LumoToolManager.h"

#include "SystemConfig.h"

#include <QRegularExpression>

namespace LumoToolExt {

namespace {
const QString LanguageKey = QStringLiteral("UI/language");
const QString DefaultLanguage = QStringLiteral("en");
} // namespace

LumoToolManager *LumoToolManager::instance()
{
    static LumoToolManager manager;
    return &manager;
}

QString LumoToolManager::uiLanguages() const
{
    const QString language =
            PARSERXML::SystemConfig::instance()->value(LanguageKey, DefaultLanguage).trimmed();
    return language.isEmpty() ? DefaultLanguage : language;
}

bool LumoToolManager::setUiLanguage(const QString &language)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]{2,8})*$"));
    if (!name.match(language).hasMatch())
        return false;
    return PARSERXML::SystemConfig::instance()->setValue(LanguageKey, language);
}

} // namespace LumoToolExt
