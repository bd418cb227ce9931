#include "lang/GlobalConst.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(GlobalConst, EntriesByNumber) {
    ResetMessages();
    EXPECT_EQ(Msg(msgError), QString::fromUtf8("Ошибка!"));
    EXPECT_EQ(Msg(msgHotkeyInUse),
              QString::fromUtf8("Данная горячая кнопка уже используется для \""));
    EXPECT_EQ(Msg(msgCannotReadInternal),
              QString::fromUtf8("Не удалось прочитать внутренний файл ...\\"));
    EXPECT_EQ(Msg(msgNoWarConfig).count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(Msg(msgStatusPreparing), QString::fromUtf8("Подготовка к запуску..."));
    EXPECT_EQ(Msg(42), Msg(msgStatusPreparing));
    EXPECT_TRUE(Msg(kMessageCount).isEmpty());
    EXPECT_TRUE(Msg(-1).isEmpty());
}

TEST(GlobalConst, LanguageReplacesAndResetRestores) {
    SetMsg(msgError, QStringLiteral("Error!"));
    SetMsg(99, QStringLiteral("ignored"));
    EXPECT_EQ(Msg(msgError), QStringLiteral("Error!"));
    ResetMessages();
    EXPECT_EQ(Msg(msgError), QString::fromUtf8("Ошибка!"));
}

} // namespace
} // namespace qm
