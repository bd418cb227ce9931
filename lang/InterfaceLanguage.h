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

class TIniFile;

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
    // Reads the file unless it is the one read last, unchanged since; true
    // when it was read.
    bool Read(const std::filesystem::path& path);
    void LoadQtTranslations();

    QString locale_;
    std::unique_ptr<QTranslator> qt_;
    // The file read last: the start applies it twice (the loading window
    // first, then every window), and each window made later applies it too.
    std::unique_ptr<TIniFile> file_;
    std::filesystem::path path_;
    std::filesystem::file_time_type time_;
};

} // namespace qm
