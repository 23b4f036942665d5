<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>ActivityText</name>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discovering indexed files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing file contents…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Building storage hierarchy…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summarizing files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discovery paused. Refresh to resume.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>10 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logical file sizes are not a measure of recoverable disk space. Protected or unindexed locations may be absent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No groups match your search.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show more groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview files before removing a copy. No files are selected for deletion automatically.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rescan folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INDEXED SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SCANNED SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIPPED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Large files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading files…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adjust the search or size filter. You can also scan a folder that is not in the computer’s index.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GROUPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EXTRA COPIES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The completed scan found no matching SHA-256 groups among readable candidates.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandPalette</name>
    <message>
        <source>Jump to anything</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where would you like to go?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create folder…</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>“%1”</source>
        <comment>a quoted name</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopApplications</name>
    <message>
        <source>The application “%1” is no longer installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be started: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DetailDrawer</name>
    <message>
        <source>Extract text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview in Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DuplicateFinder</name>
    <message>
        <source>OpenSSL has no SHA-256.</source>
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
    <message>
        <source>%1 each</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DuplicateGuard</name>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the last copy of its duplicate group. Moving every copy to the Trash leaves none of these contents in place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 are the last copies of their duplicate groups. Moving every copy to the Trash leaves none of these contents in place.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>MMM d, yyyy</source>
        <comment>date pattern</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExplorerBrowser</name>
    <message>
        <source>Search all of This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified in the last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its details will appear here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview in Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your files stay on your computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click to open · Space to preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer · All indexed locations</source>
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
    <message>
        <source>This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste or create items here, or search all of This Computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discovering your files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results appear automatically from your computer’s index. Folder selection is optional.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try a different filename or search all of This Computer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FailureMessage</name>
    <message>
        <source>An unknown error occurred.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Feature</name>
    <message>
        <source>Every frame, beautifully organized.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find the moment. Press play. Stay here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your sound library, in one place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All your reading, within reach.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A little order. A lot of possibility.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick up where you left off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your captured ideas, all in one place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>See what’s taking up space.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find the same file in more than one place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A closer look at your largest files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your files, through time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every file, on its way.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage Analyzer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate Finder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Large Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Timeline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer Queue</source>
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
    <name>FileError</name>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 couldn’t be opened because you don’t have permission to see its contents.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name %1 can’t be used. A name can’t be blank, “.” or “..”, or contain “/”, “:” or a NUL character.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An item named %1 already exists in this location.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 couldn’t be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 couldn’t be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileMenu</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview in Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Applications</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileRowHeader</name>
    <message>
        <source>MODIFIED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileSize</name>
    <message numerus="yes">
        <source>%n byte</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>kB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileTileDelegate</name>
    <message>
        <source>Folder</source>
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
    <message>
        <source>%1 · %2</source>
        <comment>file size · file type</comment>
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
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemMove</name>
    <message>
        <source>“%1” can’t be moved to another disk: its own disk has no trash to take the original. Copy it instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemPlacement</name>
    <message>
        <source>“%1” can’t replace the item it comes from.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LayoutPicker</name>
    <message>
        <source>Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Column</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Layout</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LazyLibrary</name>
    <message>
        <source>The library %1 can’t be loaded: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The library %1 lacks %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryTileDelegate</name>
    <message>
        <source>MMM d</source>
        <comment>date pattern</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MediaFilter</name>
    <message>
        <source>All formats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Newest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smallest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Under 10 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10㄀ MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over 100 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Square</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HD or larger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4K or larger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Under 1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1ጐ minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over 10 minutes</source>
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
    <message>
        <source>Any time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 24 hours</source>
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
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer · All indexed locations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically finds accessible files in the system index. Excluded, unindexed, or protected locations may not appear.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder filter active. Remove it to search across your computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discovering your library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching %1</source>
        <comment>%1 is the section, in lower case</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results appear automatically from your computer’s index. Try clearing filters, refreshing, or selecting an unindexed folder to scan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan subfolders, adjust filters, or remove the folder filter to search your computer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MenuCommands</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Navigate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command Palette</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enclosing Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Look</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameSheet</name>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
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
        <source>Transfers finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n items copied</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %n failed</source>
        <comment>items copied, items failed</comment>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScaledImage</name>
    <message>
        <source>It isn’t a regular file, so it can’t be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SectionHeading</name>
    <message>
        <source>⌂ Workspace &amp;nbsp;›&amp;nbsp; %1</source>
        <comment>%1 is the section</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter by folder…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show hidden files after refreshing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane reads only folders available to your user account. Open protected folders through the folder picker.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Private by design</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No accounts. No telemetry. No cloud processing.
File scans and text recognition run on your computer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A place for everything.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jump to anything</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl K</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LIBRARY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YOUR TOOLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOCATIONS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open another folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
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
    <message>
        <source>Root view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Building folder hierarchy…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Totals describe indexed or scanned file sizes, not full volume usage. Unindexed and protected locations may be missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No hierarchy yet. Refresh or scan a folder to build one.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageNode</name>
    <message>
        <source>This Computer</source>
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
    <name>TextExtractor</name>
    <message>
        <source>Text recognition is unavailable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text recognition failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No embedded text found in this PDF.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No text found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading text… page %L1 of %L2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading text… %L1%</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>dddd, MMM d, yyyy</source>
        <comment>date pattern</comment>
        <translation type="unfinished"></translation>
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
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped. Any completed results remain available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All indexed locations</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TopBar</name>
    <message>
        <source>Enclosing folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle file details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl K</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jump to anything</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search this folder</source>
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
        <source>%1 of %2</source>
        <comment>bytes copied of total</comment>
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
    <name>TransferService</name>
    <message>
        <source>“%1” can’t be copied into itself or into a folder inside it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferStatus</name>
    <message>
        <source>Queued</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferStore</name>
    <message>
        <source>The copy failed for an unknown reason.</source>
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
        <source>Resume queue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a destination when adding files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 left, %2</source>
        <comment>bytes left, time left</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrashCan</name>
    <message>
        <source>The trash doesn’t say where it put it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1” is no longer in the trash.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoAction</name>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 can’t go to the trash on its disk, so it stays.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 isn’t an empty folder any more, so it stays.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Copy %n Items</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Move %n Items</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Move to Trash %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Move %n Items to Trash</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UndoJournal</name>
    <message>
        <source>Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VolumeUsage</name>
    <message>
        <source>%1% of volume used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local filesystem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 available</source>
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
    <message>
        <source>New folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracted text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Something needs your attention</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can restore these items from the Trash in your file manager.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the last copies to Trash?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the last copy to Trash?</source>
        <translation type="unfinished"></translation>
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
<context>
    <name>WorkspaceActions</name>
    <message>
        <source>Only files on this computer can be pasted. Left out: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only files on this computer can be dropped. Left out: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to selected folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a destination for this transfer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a destination folder to create a folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkspaceActivity</name>
    <message>
        <source>Working in the background</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkspaceModel</name>
    <message>
        <source>Open folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>quorvane: cannot write %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the window to FILE (PNG) and quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait MS milliseconds before the screenshot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the window at WIDTHxHEIGHT (e.g. 900x580).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the section NAME (e.g. &quot;Images&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the folder DIR in the Explorer, or in the --section tool.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane brings your files together in one window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder to open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quorvane: no section named %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quorvane: %1 is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quorvane: --window-size takes WIDTHxHEIGHT, e.g. 900x580</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
