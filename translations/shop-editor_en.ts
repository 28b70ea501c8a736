<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This program edits the Shops in Qorvik.  <byte value="xd"/>
<byte value="xd"/>
This editor also works on the Japanese Zeltharia IV ROM file.  <byte value="xd"/>
<byte value="xd"/>
Special thanks to Brannoc for helping me fix a nasty bug.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This editor is an independent work. Its author is not affiliated with the publisher of the game it edits, and the game&apos;s names belong to that publisher.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AllShopsWindow</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search: part of an item or type name, or a hex code such as 2a</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All shops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Shops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Shops - %1 of %2 shops match</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CleanComparison</name>
    <message>
        <source>Could not compare with %1.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorController</name>
    <message>
        <source>Zeltharia III (US) Shop Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quitting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the session ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read shop %1 from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save shop %1 to</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorMessages</name>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open %1.

%2

%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The image that was open stays open, with your picks on screen. Choose another file with File &gt; Open ROM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose another file with File &gt; Open ROM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note the picks you want to keep, then open the file again with File &gt; Open ROM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try File &gt; Save again. If it keeps failing, check the disk, note your picks and open the file again with File &gt; Open ROM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not %1 %2.

%3

%4 %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not finish writing %1.

%2

Some of your changes may not be on disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not import the table: %1.

%2

%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 in the file, %3 here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop %1 in %2 was changed by another program since the editor read it.

%3

Overwrite it with what the editor shows, take the file&apos;s version (and drop what the editor shows), or cancel and decide later?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shops %1 in %2 were changed by another program since the import wrote them.

Overwrite them too, take the file&apos;s versions of those shops (and do the rest), or cancel and decide later?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your picks for shop %1 are not saved in %2.

Save them before %3?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

The editor shows and writes its shops all the same: make sure %1 is the image you meant.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clipboard holds no shop to paste. Edit &gt; Copy Shop copies one as text, such as “shop 12: 01 2A FF FF FF FF FF FF FF”: the type code, then the eight item codes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was replaced by another program, and the editor cannot write to the file it had open.

Reload the image from the file that is there now? The editor stays on shop %2%3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, and your unsaved picks stay on screen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Could not %1.

%2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Your picks for shop %1 are not saved, so they are not in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>export the table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The table of %1 is in %2.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create the patch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds the patch from %2 to %3 (%4 bytes).%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read the checksum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stored in the cartridge header: checksum %1, complement %2.
Computed from the contents: checksum %3, complement %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The checksum of %1 is right.

%2%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The checksum of %1 does not match its contents.

%2

Write the computed checksum and complement? Only those four bytes change.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program changed %1 while the question was shown, so the checksum was not written.

Choose Fix Checksum... again to see the new values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write the checksum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

The two images have the same contents: the patch changes nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

The checksum of %1 does not match its contents, and an image patched with this patch will carry the wrong one: choose File &gt; Fix Checksum..., then create the patch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

The patch holds the cartridge contents alone, so it is for images without a copier header: applied to an image with one, an IPS patch writes every change 512 bytes too early.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

The patch holds the cartridge contents alone, so it is for images without a copier header.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileOpenDialog</name>
    <message>
        <source>Open ROM</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FindNamesDialog</name>
    <message>
        <source>%1: entries of %2 bytes, skip %3
%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find the Item Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two to four items with their codes, as you know them from playing, a line each (ᰁ Dagger”):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use This Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One place fits the names.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 places fit the names: choose one.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageNamesDialog</name>
    <message>
        <source>Item Names from Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Table file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>$D2:B300 in the HiROM map, or 0x12B300 in the cartridge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Entry &amp;length:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bytes per name, 1 to 64</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes to s&amp;kip:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at the start of each entry (an icon, say)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Codes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>00-FE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sa&amp;ve Table File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The names as the table reads them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved as %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageOpener</name>
    <message>
        <source>Its name holds bytes that are not valid UTF-8 text, so the file dialog cannot name it exactly, and another file&apos;s name could be taken for it. Rename the file, or give its path on the command line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opening another image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Super MagiCom ROM File (*.smc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Super Wild Card ROM File (*.swc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pro Fighter X ROM File (*.fig)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemNamesInUse</name>
    <message>
        <source>The built-in item names are used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The built-in item names are used. Choose a names file with Options &gt; Item Names..., or stay with Options &gt; Built-in Item Names.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The item names in use stay.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write the item names to %1.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not use the item names in %1.

%2

%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More than half of the bytes behind these names have no entry in the table file, so the lists would show them as [HH]: the address, the entry length or the table file may be wrong.

Use these names anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read the names in %1.

%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Open ROM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Table...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Table...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create &amp;Patch...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fix &amp;Checksum...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go to Shop...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All Shops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Disabled Feature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Item Names...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Built-in Item Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Item Names...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy Shop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste Shop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert Shop to C&amp;lean</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Compare with Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item &amp;Names from Image...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameTableChoice</name>
    <message>
        <source>Choose a table file, or find the names with Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(the table Find learnt)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PickSearch</name>
    <message>
        <source>No entry holds this text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PicksCommand</name>
    <message>
        <source>Shop %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShopForm</name>
    <message>
        <source>Shops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop Index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 3:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 4:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 5:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 6:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 7:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 8:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Slot 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This editor also works on the Japanese Tarnwick.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moves to another shop, saving the one shown</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShopNumber</name>
    <message>
        <source>“%1” is not a shop number: type one from 0 to 127, or $00 to $7F.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no shop %1: the shops are 0 to 127 ($00 to $7F).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShopTableModel</name>
    <message>
        <source>Shop %1, %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShopText</name>
    <message>
        <source>Shop %1  %2  file %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShopWriter</name>
    <message>
        <source>save shop %1 to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The editor stays on shop %1, with your picks on screen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepReplay</name>
    <message>
        <source>read shop %1 from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write shop %1 to</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TableImport</name>
    <message>
        <source>The image is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>importing a table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 shops were written before it stopped; Edit &gt; Undo takes them back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

These labels name another code than the one beside them. The codes were imported, not the labels:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>And %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Import the table into %1 all the same?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 shops changed in %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 shop changed in %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 shops changed in %2: %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowPrompts</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Take the File&apos;s Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Shop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item names (*.txt);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Item Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV tables (*.csv);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Patch: the Clean Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images (*.smc *.swc *.fig *.sfc);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Patch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BPS patches (*.bps);;IPS patches (*.ips)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shop number (0-127, or $00-$7F):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare with Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table files (*.tbl);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Table File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WriteCommand</name>
    <message>
        <source>Shop %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import of %1 Shops</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Edits the shop table of a copier image of the game.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item names from a file for this run, one &quot;HH: Name&quot; per line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An image file to open at start, as File &gt; Open ROM would.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
