#include "platform/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace px {

QtFrenchTranslations::QtFrenchTranslations() : translator_(std::make_unique<QTranslator>())
{
    loaded_ = translator_->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(translator_.get());
}

QtFrenchTranslations::~QtFrenchTranslations()
{
    if (loaded_)
        QCoreApplication::removeTranslator(translator_.get());
}

} // namespace px
