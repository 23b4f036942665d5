#pragma once

#include <QFont>
#include <QRect>
#include <QStyleOptionToolButton>
#include <array>

// The buttons of a transfer card, from left to right.
enum class TransferButton { Retry, Pause, Cancel, More };

// Where each part of a transfer card goes in its row: the card keeps one
// height whatever the job's status, and every button keeps its room whether
// offered or not, so the others stay put.
struct TransferRowGeometry {
    // Between two cards.
    static constexpr int gap = 12;

    QRect card;
    QRect symbol;
    QRect name;
    QRect status;
    QRect destination;
    QRect progress;
    // The byte count while copying, or the failure.
    QRect detail;
    std::array<QRect, 4> buttons;

    // The card in `row`, `inset` in from both sides, with the buttons sized for their texts.
    static TransferRowGeometry of(const QRect& row, int inset,
                                  const std::array<QString, 4>& buttonTexts);
    // A row's height: the card's and the gap under it.
    static int rowHeight();

    static QFont nameFont();
    static QFont smallFont();
    static QFont buttonFont();
    // The "More" button as the style draws and sizes it.
    static QStyleOptionToolButton moreOption();
};
