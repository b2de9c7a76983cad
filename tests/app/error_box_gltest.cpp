#include "app/ApplicationTitle.h"
#include "platform/ErrorBox.h"

#include <QMessageBox>
#include <gtest/gtest.h>

TEST(ErrorBox, TitledCriticalBoxWithOneOkButton)
{
    setApplicationTitle(QString::fromUtf8(kApplicationTitle));
    const auto box = makeErrorBox("Cannot open file \"/a/data.mod\". Permission denied");
    EXPECT_EQ(box->windowTitle(), "Quorvel Электронный справочник организаций г.Верескола");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->text(), "Cannot open file \"/a/data.mod\". Permission denied.");
}
