#pragma once

#include <QTemporaryDir>

// User defaults in a folder of the test's own, empty at the start, so the
// settings of whoever runs the tests never change what a test sees.
class PrivateSettings {
public:
    PrivateSettings();
    PrivateSettings(const PrivateSettings&) = delete;
    PrivateSettings& operator=(const PrivateSettings&) = delete;

private:
    QTemporaryDir dir_;
};
