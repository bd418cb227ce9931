#include "lang/GlobalConst.h"

#include "config/uFileError.h"

#include <QDir>
#include <QLocale>

#include <array>

namespace qm {
namespace {

// The built-in (Russian) texts. A text that ends in a space is followed at
// run time by a file name or a number.
const std::array<const char*, kMessageCount> kBuiltIn = {
    "Не найден конфигурационный файл Warcraft III.\r\nСоздать его?",
    "Ошибка!",
    "Конфигурационный файл сохранён как ",
    "Информация",
    "Невозможно сохранить файл!",
    "Файл сохранён как: ",
    "Невозможно сохранить файл!",
    "Сохранить конфиг как ",
    "Вопрос",
    "Добавлено новых записей: ",
    "Удалить информацию во всех записях текущего конфига?",
    "Опасное действие",
    "Информация во всех записях была удалена!",
    "Не удалось прочитать внутренний файл ...\\",
    "Не удалось прочитать: ",
    ", возможно он не является конфигурационным файлом Warcraft3!",
    "Не удалось загрузить дерево, проверьте наличие файла ",
    " в корневом каталоге программы или переустановите её!",
    "(без имени)",
    "Файл был именён.\r\nСохранить изменения?",
    "Внимание!",
    "Данная горячая кнопка уже используется для \"",
    "Поменять кнопки местамми?",
    "Действие не выбрано",
    "Не найдена установочная директория Warcraft III!\r\nХотите указать её в ручную?",
    "Невозможно подключить ",
    "Возможно указан не верный путь к Warcraft III или файл повреждён.",
    "Записей проверено: ",
    "SFmpq.dll не найден!",
    "Невозможно открыть ",
    "Невозможно закрыть ",
    "Размер ",
    " превышает 4Гб!",
    "Невозможно прочитать информацию из файла в буфер!",
    "Невозможно записать информацию в файл!",
    "Приложение уже запущено!",
    "Конфигурационные файлы Warcraft III|*.txt",
    "Языковые файлы QMK|*.qlg",
    "Сбор данных о текущем управлении...",
    "Заполнение дерева действий...",
    "Извлечение графики...",
    "Запуск программы!",
    "Подготовка к запуску...",
    "Все несохранённые изменения будут потеряны.\r\nПродолжить?",
    "Слово не найдено!",
    "Невозможно записать файл ",
    "Файл %1 уже существует.\r\nЗаменить его?",
    "Не найдена справка программы: ",
    "это не обычный файл",
    "файл слишком велик",
    "в файле нет ни одного раздела",
    "нечего записывать",
    "Не удалось прочитать архивы игры; этот шаг повторится при следующем запуске.",
    "В папке игры нет ни архивов Warcraft III (war3.mpq), ни его хранилища (.build.info); "
    "импорт повторится при следующем запуске.",
    "Шаг импорта не выполнен; он повторится при следующем запуске.",
    "это не архив, который программа может прочитать",
    "Не удалось создать файл, который не даёт запустить вторую копию программы; программа "
    "работает без него.",
    "Горячая клавиша: %1",
    "Подсказка: %1",
    "По умолчанию: %1",
    "Сброс: %1",
    "Положение кнопки: %1",
    "Добавление: %1",
    "Добавить все (записей: %1)",
    "Удалить все",
    "Отменить все изменения",
    "Мультиредактор (записей: %1)",
    "Отменить: %1",
    "Повторить: %1",
    "«%1» не подходит: горячая клавиша — это латинская буква от A до Z (или Esc).",
    "«%1» не подходит: здесь нужен знак, который пишет клавиша (буква, цифра, знак).",
    "Поиск продолжен с начала.",
    "Автор:",
    "Подсказка слишком длинная, чтобы показать её целиком: здесь её начало. Изменить её можно "
    "только в самом файле.",
    "Кодировка файла (%1) не может сохранить введённый символ. Записать эту подсказку в UTF-8?",
    "Фильтр: часть названия, идентификатор или key:Q (Ctrl+E)",
    "Конфликты горячих клавиш",
    "Клавиша|Вид|Действие|Второе действие|Карточка",
    "Горячая клавиша|Отключение|Исследование",
    "Конфликтов: %1",
    "Игра не найдена: показаны встроенные значения, без подсказок. Указать игру: «Сервис» → "
    "«Указать игру...».",
    "Игра не указана: укажите её в меню «Сервис» → «Указать игру...».",
    "Игра из папки %1 будет загружена при следующем запуске Quillmark.",
    "Сбор данных из хранилища CASC...",
    "Извлечение графики из CASC...",
};

std::array<QString, kMessageCount>& Table() {
    static std::array<QString, kMessageCount> table = [] {
        std::array<QString, kMessageCount> t;
        for (int i = 0; i < kMessageCount; ++i)
            t[i] = QString::fromUtf8(kBuiltIn[i]);
        return t;
    }();
    return table;
}

} // namespace

const QString& Msg(int index) {
    static const QString kNone;
    return index >= 0 && index < kMessageCount ? Table()[index] : kNone;
}

void SetMsg(int index, const QString& text) {
    if (index >= 0 && index < kMessageCount)
        Table()[index] = text;
}

void ResetMessages() {
    for (int i = 0; i < kMessageCount; ++i)
        Table()[i] = QString::fromUtf8(kBuiltIn[i]);
}

QString FailureReason(const std::string& why) {
    if (const auto size = TooLargeSize(why))
        return Msg(msgWhyTooLarge) +
               QStringLiteral(" (%1)").arg(QLocale().formattedDataSize(
                   static_cast<qint64>(*size), 1, QLocale::DataSizeTraditionalFormat));
    static const std::pair<std::string_view, int> kOwn[] = {
        {kWhyNotRegularFile, msgWhyNotRegularFile},
        {kWhyNoSection, msgWhyNoSection},
        {kWhyNothingToWrite, msgWhyNothingToWrite},
        {kWhyNotAnArchive, msgWhyNotAnArchive},
    };
    for (const auto& [text, row] : kOwn) {
        if (why == text)
            return Msg(row);
    }
    return QString::fromLocal8Bit(why);
}

QString WithReason(const QString& message, const QString& path, const std::string& why) {
    QString text = message + QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
    if (!why.empty())
        text += QStringLiteral(": ") + FailureReason(why);
    return text;
}

} // namespace qm
