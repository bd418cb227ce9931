#include "lang/InterfaceLanguage.h"

#include "config/uIniFile.h"
#include "lang/MultiLang.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>

namespace qm {
namespace {

constexpr const char* kSection = "Language";
constexpr const char* kLocaleKey = "Locale";

} // namespace

TInterfaceLanguage::TInterfaceLanguage() = default;

TInterfaceLanguage::~TInterfaceLanguage() {
    if (qt_)
        QCoreApplication::removeTranslator(qt_.get());
}

void TInterfaceLanguage::Apply(const std::filesystem::path& path, const QList<QWidget*>& windows) {
    const bool read = Read(path);
    const TIniFile& file = *file_;
    for (QWidget* window : windows)
        LangApplyForm(window, file);
    // The message table holds the texts of the file read last already.
    if (read)
        LangApplyStrings(file);
    const QString locale = QString::fromStdString(file.ReadString(kSection, kLocaleKey, ""));
    if (!locale.isEmpty() && locale != locale_) {
        locale_ = locale;
        LoadQtTranslations();
    }
}

bool TInterfaceLanguage::Read(const std::filesystem::path& path) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (file_ && !ec && path == path_ && time == time_)
        return false;
    file_ = std::make_unique<TIniFile>(path);
    path_ = path;
    time_ = ec ? std::filesystem::file_time_type::min() : time;
    return true;
}

// Qt's own texts ("Look in", Yes and No, ...) in the interface's language;
// Qt's built-in English when there are none for it.
void TInterfaceLanguage::LoadQtTranslations() {
    if (qt_)
        QCoreApplication::removeTranslator(qt_.get());
    qt_ = std::make_unique<QTranslator>();
    if (qt_->load(QLocale(locale_), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt_.get());
    QLocale::setDefault(QLocale(locale_));
}

bool TInterfaceLanguage::Write(const std::filesystem::path& path, const QList<QWidget*>& windows,
                               const QString& locale) {
    if (!LangWriteFile(path, windows))
        return false;
    TIniFile file(path);
    file.WriteString(kSection, kLocaleKey, locale.toStdString());
    return file.Save();
}

} // namespace qm
