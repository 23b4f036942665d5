#include "private_settings.h"

#include <QSettings>
#include <gtest/gtest.h>

PrivateSettings::PrivateSettings()
{
    EXPECT_TRUE(dir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings().clear();
}
