#pragma once

#include "workspace/workspace_wait.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QWidget>
#include <gtest/gtest.h>

// The visible dialog of type T under `window`, once it is there.
template <typename T> T* waitForShown(QWidget& window, int timeoutMs = 10000)
{
    T* found = nullptr;
    waitFor(
        [&] {
            for (T* dialog : window.findChildren<T*>())
                if (dialog->isVisible()) found = dialog;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// The open question box titled `title`, once it is there.
inline QMessageBox* waitForQuestion(QWidget& window, const QString& title, int timeoutMs = 10000)
{
    QMessageBox* found = nullptr;
    waitFor(
        [&] {
            for (QMessageBox* box : window.findChildren<QMessageBox*>())
                if (box->isVisible() && box->text() == title) found = box;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// Clicks the box's button of `role`.
inline void press(QMessageBox* box, QMessageBox::ButtonRole role)
{
    ASSERT_TRUE(box);
    for (QAbstractButton* button : box->buttons())
        if (box->buttonRole(button) == role) {
            button->click();
            return;
        }
    ADD_FAILURE() << "no button of that role";
}
