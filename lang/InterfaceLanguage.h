#pragma once
// The interface's language as a whole: a language file applied to the
// windows and the message table, and Qt's own translations (standard
// dialogs and buttons) for the file's locale, so that one language is on
// screen. A language file names its locale in [Language] Locale=ru.

#include <QList>
#include <QString>
#include <QTranslator>

#include <filesystem>
#include <memory>

class QWidget;

namespace qm {

class TInterfaceLanguage {
  public:
    TInterfaceLanguage();
    ~TInterfaceLanguage();
    TInterfaceLanguage(const TInterfaceLanguage&) = delete;
    TInterfaceLanguage& operator=(const TInterfaceLanguage&) = delete;

    // Applies the file (an absent one changes nothing) to the windows, in
    // order, and to the message table, and loads Qt's translations for its
    // locale.
    void Apply(const std::filesystem::path& file, const QList<QWidget*>& windows);
    // The locale the last file named; empty for none.
    const QString& Locale() const { return locale_; }

    // Writes the complete file of the windows' current texts and the
    // message table, naming `locale`.
    static bool Write(const std::filesystem::path& file, const QList<QWidget*>& windows,
                      const QString& locale);

  private:
    void LoadQtTranslations();

    QString locale_;
    std::unique_ptr<QTranslator> qt_;
};

} // namespace qm
