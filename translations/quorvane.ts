<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AnalysisView</name>
    <message>
        <source>Minimum size</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Show more · %n remaining</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n discovered files. Find duplicates compares their contents locally; choose a folder only if you want to narrow the scan.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConflictDialog</name>
    <message>
        <source>Merging adds the folder&apos;s items to the one already there. Replacing moves the one already there to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replacing moves the item already there to the Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply to all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists in %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DuplicateGroupCard</name>
    <message numerus="yes">
        <source>%n matching copies</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>EmbeddedPreview</name>
    <message>
        <source>Back to files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading text…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop reading text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCardDelegate</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More actions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCardModel</name>
    <message>
        <source>Same file as “%1”</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GenericPreview</name>
    <message>
        <source>Created %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file is no longer available.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImagePreview</name>
    <message>
        <source>Loading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MediaLibraryView</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search all of This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading media properties locally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thumbnail size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset filters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading library; controls remain available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click or press Space to preview here in Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n items · %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Filtering…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading more…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan subfolders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfPreview</name>
    <message>
        <source>Loading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This page cannot be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayerPreview</name>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file cannot be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QueueFinishedNotice</name>
    <message>
        <source>1 item copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfers finished</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageHierarchyView</name>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show more folders and files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage hierarchy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File System</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageRowDelegate</name>
    <message numerus="yes">
        <source>%n files</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TimelineDayView</name>
    <message>
        <source>Show more from this day</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TimelineView</name>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By modification date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files in this period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the period or search to see more files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show earlier days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Building your timeline…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolScopeBar</name>
    <message>
        <source>This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferListModel</name>
    <message>
        <source>Paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> of </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferRowDelegate</name>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransfersView</name>
    <message>
        <source>Transfer queue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause queue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready when you are</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files or folders to start a copy. Jobs run one at a time and keep going when you switch sections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No transfers match your search.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>less than a minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 h %2 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume queue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a destination when adding files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowSheets</name>
    <message numerus="yes">
        <source>Move %n selected items to Trash?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WindowStatusBar</name>
    <message numerus="yes">
        <source>%n items</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n selected</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
