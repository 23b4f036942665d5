#pragma once

class QAbstractScrollArea;

// Gives the area a thin vertical scroll bar drawn over its content instead of
// beside it, so a narrow column (the sidebar) keeps its whole width.
void useOverlayScrollBar(QAbstractScrollArea* area);
