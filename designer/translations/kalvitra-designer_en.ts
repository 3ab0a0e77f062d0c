<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>kalvitra::designer::DesignDocument</name>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::DesignExporter</name>
    <message>
        <source>The design has a marked input; mend it first.</source>
        <translation>The design has a marked input; mend it first.</translation>
    </message>
    <message>
        <source>The report could not be made.</source>
        <translation>The report could not be made.</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::DesignerWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>Open &amp;sheet…</source>
        <translation>Open &amp;sheet…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save &amp;as…</source>
        <translation>Save &amp;as…</translation>
    </message>
    <message>
        <source>Export s&amp;heet…</source>
        <translation>Export s&amp;heet…</translation>
    </message>
    <message>
        <source>Export sheet</source>
        <translation>Export sheet</translation>
    </message>
    <message>
        <source>Kalvitra sheets (*.kvs)</source>
        <translation>Kalvitra sheets (*.kvs)</translation>
    </message>
    <message>
        <source>Open in &amp;calculator</source>
        <translation>Open in &amp;calculator</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>Section as &amp;SVG…</source>
        <translation>Section as &amp;SVG…</translation>
    </message>
    <message>
        <source>Export section</source>
        <translation>Export section</translation>
    </message>
    <message>
        <source>SVG drawings (*.svg)</source>
        <translation>SVG drawings (*.svg)</translation>
    </message>
    <message>
        <source>Section as &amp;DXF…</source>
        <translation>Section as &amp;DXF…</translation>
    </message>
    <message>
        <source>DXF drawings (*.dxf)</source>
        <translation>DXF drawings (*.dxf)</translation>
    </message>
    <message>
        <source>Cut list as D&amp;XF…</source>
        <translation>Cut list as D&amp;XF…</translation>
    </message>
    <message>
        <source>Export cut list</source>
        <translation>Export cut list</translation>
    </message>
    <message>
        <source>Cut list as &amp;CSV…</source>
        <translation>Cut list as &amp;CSV…</translation>
    </message>
    <message>
        <source>CSV tables (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <source>&amp;Report as PDF…</source>
        <translation>&amp;Report as PDF…</translation>
    </message>
    <message>
        <source>Export report</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message>
        <source>&amp;Print report</source>
        <translation>&amp;Print report</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Choose curve file</source>
        <translation>Choose curve file</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>Section</translation>
    </message>
    <message>
        <source>Every piece of the frame as cut: the true mass.</source>
        <translation>Every piece of the frame as cut: the true mass.</translation>
    </message>
    <message>
        <source>Stage table</source>
        <translation>Stage table</translation>
    </message>
    <message>
        <source>Cut list</source>
        <translation>Cut list</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>out of date</source>
        <translation>out of date</translation>
    </message>
    <message>
        <source>%1[*] — Core designer</source>
        <translation>%1[*] — Core designer</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Cannot open</translation>
    </message>
    <message>
        <source>Cannot open %1:
%2

The window keeps what it had.</source>
        <translation>Cannot open %1:
%2

The window keeps what it had.</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Unsaved changes</translation>
    </message>
    <message>
        <source>The design %1 has changes that are not saved. Save them?</source>
        <translation>The design %1 has changes that are not saved. Save them?</translation>
    </message>
    <message>
        <source>Open design</source>
        <translation>Open design</translation>
    </message>
    <message>
        <source>Kalvitra designs (*.kvd);;Kalvitra sheets (*.kvs);;All files (*)</source>
        <translation>Kalvitra designs (*.kvd);;Kalvitra sheets (*.kvs);;All files (*)</translation>
    </message>
    <message>
        <source>Open sheet</source>
        <translation>Open sheet</translation>
    </message>
    <message>
        <source>Kalvitra sheets (*.kvs);;All files (*)</source>
        <translation>Kalvitra sheets (*.kvs);;All files (*)</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Not saved</translation>
    </message>
    <message>
        <source>%1 was not saved:
%2

The file on disk is as it was.</source>
        <translation>%1 was not saved:
%2

The file on disk is as it was.</translation>
    </message>
    <message>
        <source>Save design</source>
        <translation>Save design</translation>
    </message>
    <message>
        <source>Kalvitra designs (*.kvd)</source>
        <translation>Kalvitra designs (*.kvd)</translation>
    </message>
    <message>
        <source>CSV tables (*.csv);;All files (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>Not written</source>
        <translation>Not written</translation>
    </message>
    <message>
        <source>%1 was not written:
%2</source>
        <translation>%1 was not written:
%2</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <source>No calculator</source>
        <translation>No calculator</translation>
    </message>
    <message>
        <source>The calculator kalvitra is neither beside the designer nor on the PATH.</source>
        <translation>The calculator kalvitra is neither beside the designer nor on the PATH.</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>Not printed</source>
        <translation>Not printed</translation>
    </message>
    <message>
        <source>The report was not printed:
%1</source>
        <translation>The report was not printed:
%1</translation>
    </message>
    <message>
        <source>The report went to the default printer.</source>
        <translation>The report went to the default printer.</translation>
    </message>
    <message>
        <source>chosen by the design</source>
        <translation>chosen by the design</translation>
    </message>
    <message>
        <source>Sheet read leniently</source>
        <translation>Sheet read leniently</translation>
    </message>
    <message>
        <source>%1 does not hold one plain number in every field the calculations read. The design takes what the calculations read:

%2

Check these inputs before using the design.</source>
        <translation>%1 does not hold one plain number in every field the calculations read. The design takes what the calculations read:

%2

Check these inputs before using the design.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;User guide</source>
        <translation>&amp;User guide</translation>
    </message>
    <message>
        <source>&amp;Keyboard shortcuts</source>
        <translation>&amp;Keyboard shortcuts</translation>
    </message>
    <message>
        <source>&amp;About the core designer</source>
        <translation>&amp;About the core designer</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>About &amp;Qt</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Keyboard shortcuts</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Shortcut</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>No user guide</source>
        <translation>No user guide</translation>
    </message>
    <message>
        <source>The user guide %1 is in none of these folders:
%2</source>
        <translation>The user guide %1 is in none of these folders:
%2</translation>
    </message>
    <message>
        <source>No program opened %1.</source>
        <translation>No program opened %1.</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Kalvitra core designer %1&lt;/h3&gt;&lt;p&gt;Designs the stepped iron core of a power transformer: the section, the cut list, the masses and the no-load loss.&lt;/p&gt;&lt;p&gt;Copyright © 2026 Kalvitra developers. Released under the MIT licence: free to use, copy, change and pass on, without warranty.&lt;/p&gt;&lt;p&gt;Built with Qt %2, under the GNU LGPL version 3; Help ▸ About Qt tells more.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Kalvitra core designer %1&lt;/h3&gt;&lt;p&gt;Designs the stepped iron core of a power transformer: the section, the cut list, the masses and the no-load loss.&lt;/p&gt;&lt;p&gt;Copyright © 2026 Kalvitra developers. Released under the MIT licence: free to use, copy, change and pass on, without warranty.&lt;/p&gt;&lt;p&gt;Built with Qt %2, under the GNU LGPL version 3; Help ▸ About Qt tells more.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About the core designer</source>
        <translation>About the core designer</translation>
    </message>
    <message>
        <source>Choose joint curve file</source>
        <translation>Choose joint curve file</translation>
    </message>
    <message>
        <source>Typical</source>
        <translation>Typical</translation>
    </message>
    <message>
        <source>Use the typical joint curve</source>
        <translation>Use the typical joint curve</translation>
    </message>
    <message>
        <source>The typical figures of a 45° joint, in place of the file.</source>
        <translation>The typical figures of a 45° joint, in place of the file.</translation>
    </message>
    <message>
        <source>Typical 45° joint curve</source>
        <translation>Typical 45° joint curve</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Files</name>
    <message>
        <source>This is a folder.</source>
        <translation>This is a folder.</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes.</source>
        <translation>The file is larger than %1 bytes.</translation>
    </message>
    <message>
        <source>“%1” is not a choice of %2.</source>
        <translation>“%1” is not a choice of %2.</translation>
    </message>
    <message>
        <source>Not JSON: %1 at byte %2.</source>
        <translation>Not JSON: %1 at byte %2.</translation>
    </message>
    <message>
        <source>Not a Kalvitra design: it has no “%1”.</source>
        <translation>Not a Kalvitra design: it has no “%1”.</translation>
    </message>
    <message>
        <source>Written by a newer Kalvitra (format %1).</source>
        <translation>Written by a newer Kalvitra (format %1).</translation>
    </message>
    <message>
        <source>Unknown input “%1”.</source>
        <translation>Unknown input “%1”.</translation>
    </message>
    <message>
        <source>The input “%1” is not a text.</source>
        <translation>The input “%1” is not a text.</translation>
    </message>
    <message>
        <source>Line %1 is not NAME=TEXT of a sheet field.</source>
        <translation>Line %1 is not NAME=TEXT of a sheet field.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>You may not read this file.</source>
        <translation>You may not read this file.</translation>
    </message>
    <message>
        <source>It cannot be opened: %1</source>
        <translation>It cannot be opened: %1</translation>
    </message>
    <message>
        <source>It could not be read: %1</source>
        <translation>It could not be read: %1</translation>
    </message>
    <message>
        <source>The sheet&apos;s stage widths cannot be taken:</source>
        <translation>The sheet&apos;s stage widths cannot be taken:</translation>
    </message>
    <message>
        <source>%1: %2 read as %3</source>
        <translation>%1: %2 read as %3</translation>
    </message>
    <message>
        <source>%1: %2 read as %3 (a comma ends a number: use a decimal point)</source>
        <translation>%1: %2 read as %3 (a comma ends a number: use a decimal point)</translation>
    </message>
    <message>
        <source>%1: empty; the design keeps %2</source>
        <translation>%1: empty; the design keeps %2</translation>
    </message>
    <message>
        <source>%1: %2 is not below %3 (%4): the widths must decrease</source>
        <translation>%1: %2 is not below %3 (%4): the widths must decrease</translation>
    </message>
    <message>
        <source>%1: empty while %2 is given: stage %3 is skipped</source>
        <translation>%1: empty while %2 is given: stage %3 is skipped</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Form</name>
    <message>
        <source>Core diameter</source>
        <translation>Core diameter</translation>
    </message>
    <message>
        <source>Stages</source>
        <translation>Stages</translation>
    </message>
    <message>
        <source>A whole number from 1 to 9.</source>
        <translation>A whole number from 1 to 9.</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Widths are multiples of this step; 0 for widths of any value.</source>
        <translation>Widths are multiples of this step; 0 for widths of any value.</translation>
    </message>
    <message>
        <source>Minimum width</source>
        <translation>Minimum width</translation>
    </message>
    <message>
        <source>Widths from</source>
        <translation>Widths from</translation>
    </message>
    <message>
        <source>Widths</source>
        <translation>Widths</translation>
    </message>
    <message>
        <source>Target net area</source>
        <translation>Target net area</translation>
    </message>
    <message>
        <source>The net area the smallest core diameter must reach.</source>
        <translation>The net area the smallest core diameter must reach.</translation>
    </message>
    <message>
        <source>Diameter step</source>
        <translation>Diameter step</translation>
    </message>
    <message>
        <source>The diameter found is a multiple of this step.</source>
        <translation>The diameter found is a multiple of this step.</translation>
    </message>
    <message>
        <source>Window height</source>
        <translation>Window height</translation>
    </message>
    <message>
        <source>Centre distance</source>
        <translation>Centre distance</translation>
    </message>
    <message>
        <source>Between the axes of neighbouring limbs.</source>
        <translation>Between the axes of neighbouring limbs.</translation>
    </message>
    <message>
        <source>Limbs</source>
        <translation>Limbs</translation>
    </message>
    <message>
        <source>Limbs in a row, at least 2.</source>
        <translation>Limbs in a row, at least 2.</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>Density</translation>
    </message>
    <message>
        <source>Stacking factor</source>
        <translation>Stacking factor</translation>
    </message>
    <message>
        <source>Sheet thickness</source>
        <translation>Sheet thickness</translation>
    </message>
    <message>
        <source>Stack rounding</source>
        <translation>Stack rounding</translation>
    </message>
    <message>
        <source>Each step&apos;s height is floored to a multiple of this; 0 for none.</source>
        <translation>Each step&apos;s height is floored to a multiple of this; 0 for none.</translation>
    </message>
    <message>
        <source>Steel grade</source>
        <translation>Steel grade</translation>
    </message>
    <message>
        <source>Typical 50 Hz curves from public grade tables; the supplier&apos;s curve rules for guarantees.</source>
        <translation>Typical 50 Hz curves from public grade tables; the supplier&apos;s curve rules for guarantees.</translation>
    </message>
    <message>
        <source>Curve file</source>
        <translation>Curve file</translation>
    </message>
    <message>
        <source>Flux given as</source>
        <translation>Flux given as</translation>
    </message>
    <message>
        <source>Flux density</source>
        <translation>Flux density</translation>
    </message>
    <message>
        <source>Volts per turn</source>
        <translation>Volts per turn</translation>
    </message>
    <message>
        <source>B = E / (√2·π·F·A), with the exact √2·π, not 4.44.</source>
        <translation>B = E / (√2·π·F·A), with the exact √2·π, not 4.44.</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Building factor</source>
        <translation>Building factor</translation>
    </message>
    <message>
        <source>The no-load loss is this factor × specific loss × frame mass.</source>
        <translation>The no-load loss is this factor × specific loss × frame mass.</translation>
    </message>
    <message>
        <source>Best for D</source>
        <translation>Best for D</translation>
    </message>
    <message>
        <source>As given</source>
        <translation>As given</translation>
    </message>
    <message>
        <source>Find D from the net area</source>
        <translation>Find D from the net area</translation>
    </message>
    <message>
        <source>Type a number.</source>
        <translation>Type a number.</translation>
    </message>
    <message>
        <source>Not a number: type digits, with a point for decimals, as in 196.5.</source>
        <translation>Not a number: type digits, with a point for decimals, as in 196.5.</translation>
    </message>
    <message>
        <source>A comma is not a decimal sign here: use a point, as in 196.5.</source>
        <translation>A comma is not a decimal sign here: use a point, as in 196.5.</translation>
    </message>
    <message>
        <source>A comma is not a decimal sign here: use a point, as in %1.</source>
        <translation>A comma is not a decimal sign here: use a point, as in %1.</translation>
    </message>
    <message>
        <source>The number is beyond the range of double precision.</source>
        <translation>The number is beyond the range of double precision.</translation>
    </message>
    <message>
        <source>Width %1: %2</source>
        <translation>Width %1: %2</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Material</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>Loss</source>
        <translation>Loss</translation>
    </message>
    <message>
        <source>Choose a curve file.</source>
        <translation>Choose a curve file.</translation>
    </message>
    <message>
        <source>The minimum width must be 0 or more and below D; without a grid it cannot be above the narrowest best width.</source>
        <translation>The minimum width must be 0 or more and below D; without a grid it cannot be above the narrowest best width.</translation>
    </message>
    <message>
        <source>The diameter step must be greater than 0 and not too fine for the core.</source>
        <translation>The diameter step must be greater than 0 and not too fine for the core.</translation>
    </message>
    <message>
        <source>The window height must be greater than 0, and the frame&apos;s mass within the range of double precision.</source>
        <translation>The window height must be greater than 0, and the frame&apos;s mass within the range of double precision.</translation>
    </message>
    <message>
        <source>The centre distance must be greater than the widest width, or the limbs would overlap, and the frame&apos;s mass within the range of double precision.</source>
        <translation>The centre distance must be greater than the widest width, or the limbs would overlap, and the frame&apos;s mass within the range of double precision.</translation>
    </message>
    <message>
        <source>The density must be greater than 0, and the frame&apos;s mass within the range of double precision.</source>
        <translation>The density must be greater than 0, and the frame&apos;s mass within the range of double precision.</translation>
    </message>
    <message>
        <source>The stacking factor must be a number greater than 0 and at most 1.</source>
        <translation>The stacking factor must be a number greater than 0 and at most 1.</translation>
    </message>
    <message>
        <source>The stack rounding must be 0 (none) or more, and leave every step a stack.</source>
        <translation>The stack rounding must be 0 (none) or more, and leave every step a stack.</translation>
    </message>
    <message>
        <source>The sheet thickness must be greater than 0, and every step&apos;s stack must hold a pair of sheets.</source>
        <translation>The sheet thickness must be greater than 0, and every step&apos;s stack must hold a pair of sheets.</translation>
    </message>
    <message>
        <source>The flux density must lie within the loss curve; a curve is never extrapolated.</source>
        <translation>The flux density must lie within the loss curve; a curve is never extrapolated.</translation>
    </message>
    <message>
        <source>The volts per turn must be greater than 0 and give a flux density within the loss curve.</source>
        <translation>The volts per turn must be greater than 0 and give a flux density within the loss curve.</translation>
    </message>
    <message>
        <source>The frequency must be a number greater than 0.</source>
        <translation>The frequency must be a number greater than 0.</translation>
    </message>
    <message>
        <source>The building factor must be a number greater than 0.</source>
        <translation>The building factor must be a number greater than 0.</translation>
    </message>
    <message>
        <source>Choose one of the grades in the list.</source>
        <translation>Choose one of the grades in the list.</translation>
    </message>
    <message>
        <source>The curve file must hold two or more lines B,W/kg, B rising from line to line, no number negative.</source>
        <translation>The curve file must hold two or more lines B,W/kg, B rising from line to line, no number negative.</translation>
    </message>
    <message>
        <source>Core section</source>
        <translation>Core section</translation>
    </message>
    <message>
        <source>The number of stages must be a whole number from %1 to %2.</source>
        <translation>The number of stages must be a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>The grid must be 0 (widths of any value) or a step greater than 0 that leaves 1 to %1 widths from the minimum width up to D; finding D needs a step.</source>
        <translation>The grid must be 0 (widths of any value) or a step greater than 0 that leaves 1 to %1 widths from the minimum width up to D; finding D needs a step.</translation>
    </message>
    <message>
        <source>The target net area must be greater than 0 and within reach of a core of at most %1 mm.</source>
        <translation>The target net area must be greater than 0 and within reach of a core of at most %1 mm.</translation>
    </message>
    <message>
        <source>Give %1 to %2 widths, each greater than 0, below D and below the width before it.</source>
        <translation>Give %1 to %2 widths, each greater than 0, below D and below the width before it.</translation>
    </message>
    <message>
        <source>The number of limbs must be a whole number from %1 to %2.</source>
        <translation>The number of limbs must be a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>%1 must be a number greater than 0.</source>
        <translation>%1 must be a number greater than 0.</translation>
    </message>
    <message>
        <source>%1 must be a number from %2 to %3.</source>
        <translation>%1 must be a number from %2 to %3.</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3.</source>
        <translation>%1 must be a whole number from %2 to %3.</translation>
    </message>
    <message>
        <source>%1 must be a number greater than 0 and at most 1.</source>
        <translation>%1 must be a number greater than 0 and at most 1.</translation>
    </message>
    <message>
        <source>%1 must be 0 (none) or a number greater than 0.</source>
        <translation>%1 must be 0 (none) or a number greater than 0.</translation>
    </message>
    <message>
        <source>%1 must be a number of 0 or more.</source>
        <translation>%1 must be a number of 0 or more.</translation>
    </message>
    <message>
        <source>Product model</source>
        <translation>Product model</translation>
    </message>
    <message>
        <source>Kept in the sheet as Text1.</source>
        <translation>Kept in the sheet as Text1.</translation>
    </message>
    <message>
        <source>Job number</source>
        <translation>Job number</translation>
    </message>
    <message>
        <source>Kept in the sheet as Text2.</source>
        <translation>Kept in the sheet as Text2.</translation>
    </message>
    <message>
        <source>Designed by</source>
        <translation>Designed by</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>Checked by</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>YYYY-MM-DD, as 2026-12-08; empty for today.</source>
        <translation>YYYY-MM-DD, as 2026-12-08; empty for today.</translation>
    </message>
    <message>
        <source>Title block</source>
        <translation>Title block</translation>
    </message>
    <message>
        <source>The product model must be one line without control characters, at most %1 bytes.</source>
        <translation>The product model must be one line without control characters, at most %1 bytes.</translation>
    </message>
    <message>
        <source>The job number must be one line without control characters, at most %1 bytes.</source>
        <translation>The job number must be one line without control characters, at most %1 bytes.</translation>
    </message>
    <message>
        <source>The designer&apos;s name must be one line without control characters, at most %1 bytes.</source>
        <translation>The designer&apos;s name must be one line without control characters, at most %1 bytes.</translation>
    </message>
    <message>
        <source>The checker&apos;s name must be one line without control characters, at most %1 bytes.</source>
        <translation>The checker&apos;s name must be one line without control characters, at most %1 bytes.</translation>
    </message>
    <message>
        <source>The stage widths, widest first, separated by blanks, commas or line breaks.</source>
        <translation>The stage widths, widest first, separated by blanks, commas or line breaks.</translation>
    </message>
    <message>
        <source>Type the widths, widest first, separated by blanks, commas or line breaks.</source>
        <translation>Type the widths, widest first, separated by blanks, commas or line breaks.</translation>
    </message>
    <message>
        <source>The core diameter must be a number from %1 to %2, above the widest width, and not so large beside the widths that the grid or the stack rounding is too fine for it.</source>
        <translation>The core diameter must be a number from %1 to %2, above the widest width, and not so large beside the widths that the grid or the stack rounding is too fine for it.</translation>
    </message>
    <message>
        <source>The date must be a day from 1900-01-01 on written YYYY-MM-DD, as 2026-12-08, or empty for today.</source>
        <translation>The date must be a day from 1900-01-01 on written YYYY-MM-DD, as 2026-12-08, or empty for today.</translation>
    </message>
    <message>
        <source>Rated power</source>
        <translation>Rated power</translation>
    </message>
    <message>
        <source>Three-phase; empty for a design without a rating.</source>
        <translation>Three-phase; empty for a design without a rating.</translation>
    </message>
    <message>
        <source>HV line voltage</source>
        <translation>HV line voltage</translation>
    </message>
    <message>
        <source>Line to line, at the principal tap.</source>
        <translation>Line to line, at the principal tap.</translation>
    </message>
    <message>
        <source>LV line voltage</source>
        <translation>LV line voltage</translation>
    </message>
    <message>
        <source>Line to line.</source>
        <translation>Line to line.</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>The IEC symbol, as Dyn11, Yyn0 or Yd11.</source>
        <translation>The IEC symbol, as Dyn11, Yyn0 or Yd11.</translation>
    </message>
    <message>
        <source>Volts-per-turn factor</source>
        <translation>Volts-per-turn factor</translation>
    </message>
    <message>
        <source>e = K_t·√S; 0.45 is usual for three-phase distribution transformers.</source>
        <translation>e = K_t·√S; 0.45 is usual for three-phase distribution transformers.</translation>
    </message>
    <message>
        <source>Joints</source>
        <translation>Joints</translation>
    </message>
    <message>
        <source>Apparent-power factor</source>
        <translation>Apparent-power factor</translation>
    </message>
    <message>
        <source>K_q of Q0 = K_q·q(B)·m + n_j·f_j·q_j(B)·A_net.</source>
        <translation>K_q of Q0 = K_q·q(B)·m + n_j·f_j·q_j(B)·A_net.</translation>
    </message>
    <message>
        <source>Guaranteed no-load loss</source>
        <translation>Guaranteed no-load loss</translation>
    </message>
    <message>
        <source>Empty for no guarantee.</source>
        <translation>Empty for no guarantee.</translation>
    </message>
    <message>
        <source>Guaranteed no-load current</source>
        <translation>Guaranteed no-load current</translation>
    </message>
    <message>
        <source>In % of the rated current; empty for no guarantee.</source>
        <translation>In % of the rated current; empty for no guarantee.</translation>
    </message>
    <message>
        <source>Find D from the rating</source>
        <translation>Find D from the rating</translation>
    </message>
    <message>
        <source>Mitred (45°)</source>
        <translation>Mitred (45°)</translation>
    </message>
    <message>
        <source>Step-lap</source>
        <translation>Step-lap</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>No-load and guarantee</source>
        <translation>No-load and guarantee</translation>
    </message>
    <message>
        <source>The rated power must be greater than 0, given with the voltages and the connection, or all of the rating left empty.</source>
        <translation>The rated power must be greater than 0, given with the voltages and the connection, or all of the rating left empty.</translation>
    </message>
    <message>
        <source>The HV line voltage must be greater than 0 and at least the LV one, given with the rest of the rating.</source>
        <translation>The HV line voltage must be greater than 0 and at least the LV one, given with the rest of the rating.</translation>
    </message>
    <message>
        <source>The LV line voltage must be greater than 0 and at most the HV one, given with the rest of the rating.</source>
        <translation>The LV line voltage must be greater than 0 and at most the HV one, given with the rest of the rating.</translation>
    </message>
    <message>
        <source>The connection must be a three-phase IEC symbol without zigzag, as Dyn11, with a clock number the two windings can give.</source>
        <translation>The connection must be a three-phase IEC symbol without zigzag, as Dyn11, with a clock number the two windings can give.</translation>
    </message>
    <message>
        <source>The volts-per-turn factor must be greater than 0 and give at most 100000 turns.</source>
        <translation>The volts-per-turn factor must be greater than 0 and give at most 100000 turns.</translation>
    </message>
    <message>
        <source>The apparent-power factor must be a number greater than 0.</source>
        <translation>The apparent-power factor must be a number greater than 0.</translation>
    </message>
    <message>
        <source>The guaranteed no-load loss must be greater than 0, or empty.</source>
        <translation>The guaranteed no-load loss must be greater than 0, or empty.</translation>
    </message>
    <message>
        <source>The guaranteed no-load current must be greater than 0, or empty.</source>
        <translation>The guaranteed no-load current must be greater than 0, or empty.</translation>
    </message>
    <message>
        <source>A CSV file of B,W/kg points, B rising; a third column of VA/kg gives the no-load current.</source>
        <translation>A CSV file of B,W/kg points, B rising; a third column of VA/kg gives the no-load current.</translation>
    </message>
    <message>
        <source>Joint curve file</source>
        <translation>Joint curve file</translation>
    </message>
    <message>
        <source>A CSV file of B,VA/cm2 points, B rising; none for the typical joint curve.</source>
        <translation>A CSV file of B,VA/cm2 points, B rising; none for the typical joint curve.</translation>
    </message>
    <message>
        <source>Steps per book</source>
        <translation>Steps per book</translation>
    </message>
    <message>
        <source>Step-lap joints, with the sheets per step; both empty for none. Recorded in the report.</source>
        <translation>Step-lap joints, with the sheets per step; both empty for none. Recorded in the report.</translation>
    </message>
    <message>
        <source>Sheets per step</source>
        <translation>Sheets per step</translation>
    </message>
    <message>
        <source>Step-lap joints, with the steps per book; both empty for none. Recorded in the report.</source>
        <translation>Step-lap joints, with the steps per book; both empty for none. Recorded in the report.</translation>
    </message>
    <message>
        <source>The joint curve file must hold two or more lines B,VA/cm2, B rising from line to line, no number negative.</source>
        <translation>The joint curve file must hold two or more lines B,VA/cm2, B rising from line to line, no number negative.</translation>
    </message>
    <message>
        <source>The number of steps per book must be a whole number from %1 to %2, given with the number of sheets per step.</source>
        <translation>The number of steps per book must be a whole number from %1 to %2, given with the number of sheets per step.</translation>
    </message>
    <message>
        <source>The number of sheets per step must be a whole number from %1 to %2, given with the number of steps per book.</source>
        <translation>The number of sheets per step must be a whole number from %1 to %2, given with the number of steps per book.</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Presentation</name>
    <message>
        <source>Gross area</source>
        <translation>Gross area</translation>
    </message>
    <message>
        <source>Utilisation</source>
        <translation>Utilisation</translation>
    </message>
    <message>
        <source>Frame mass</source>
        <translation>Frame mass</translation>
    </message>
    <message>
        <source>Calculator&apos;s weight</source>
        <translation>Calculator&apos;s weight</translation>
    </message>
    <message>
        <source>3 limbs Hw + yokes 2C + D</source>
        <translation>3 limbs Hw + yokes 2C + D</translation>
    </message>
    <message>
        <source>Peak flux density</source>
        <translation>Peak flux density</translation>
    </message>
    <message>
        <source>Specific loss</source>
        <translation>Specific loss</translation>
    </message>
    <message>
        <source>No-load loss</source>
        <translation>No-load loss</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Published conventions, not the frame as cut</source>
        <translation>Published conventions, not the frame as cut</translation>
    </message>
    <message>
        <source>Loss figures</source>
        <translation>Loss figures</translation>
    </message>
    <message>
        <source>Net area, stacks as cut</source>
        <translation>Net area, stacks as cut</translation>
    </message>
    <message>
        <source>Net area, gross area × stacking factor</source>
        <translation>Net area, gross area × stacking factor</translation>
    </message>
    <message>
        <source>Total stack, ideal</source>
        <translation>Total stack, ideal</translation>
    </message>
    <message>
        <source>Total stack, as cut</source>
        <translation>Total stack, as cut</translation>
    </message>
    <message>
        <source>Within the guarantee, margin %1 %</source>
        <translation>Within the guarantee, margin %1 %</translation>
    </message>
    <message>
        <source>Above the guarantee, within the tolerance, margin %1 %</source>
        <translation>Above the guarantee, within the tolerance, margin %1 %</translation>
    </message>
    <message>
        <source>Beyond the tolerance, margin %1 %</source>
        <translation>Beyond the tolerance, margin %1 %</translation>
    </message>
    <message>
        <source>Ratio error</source>
        <translation>Ratio error</translation>
    </message>
    <message>
        <source>HV phase voltage</source>
        <translation>HV phase voltage</translation>
    </message>
    <message>
        <source>LV phase voltage</source>
        <translation>LV phase voltage</translation>
    </message>
    <message>
        <source>Turns HV / LV</source>
        <translation>Turns HV / LV</translation>
    </message>
    <message>
        <source>Volts per turn</source>
        <translation>Volts per turn</translation>
    </message>
    <message>
        <source>Net area required</source>
        <translation>Net area required</translation>
    </message>
    <message>
        <source>Flux density in this core</source>
        <translation>Flux density in this core</translation>
    </message>
    <message>
        <source>Apparent power, steel</source>
        <translation>Apparent power, steel</translation>
    </message>
    <message>
        <source>Apparent power, joints</source>
        <translation>Apparent power, joints</translation>
    </message>
    <message>
        <source>Apparent power, total</source>
        <translation>Apparent power, total</translation>
    </message>
    <message>
        <source>No-load current</source>
        <translation>No-load current</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>No-load loss verdict</source>
        <translation>No-load loss verdict</translation>
    </message>
    <message>
        <source>No-load current verdict</source>
        <translation>No-load current verdict</translation>
    </message>
    <message>
        <source>Tolerance rule</source>
        <translation>Tolerance rule</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>No-load and guarantee</source>
        <translation>No-load and guarantee</translation>
    </message>
    <message>
        <source>(beyond the %1 % tolerance on the ratio)</source>
        <translation>(beyond the %1 % tolerance on the ratio)</translation>
    </message>
    <message>
        <source>GB/T 1094.1 (IEC 60076-1): P0 +%1 %, I0 +%2 % above the guarantee</source>
        <translation>GB/T 1094.1 (IEC 60076-1): P0 +%1 %, I0 +%2 % above the guarantee</translation>
    </message>
    <message>
        <source>The curve gives no VA/kg: give a curve file with a third column of VA/kg.</source>
        <translation>The curve gives no VA/kg: give a curve file with a third column of VA/kg.</translation>
    </message>
    <message>
        <source>The flux density lies outside the joint curve, which is never extrapolated.</source>
        <translation>The flux density lies outside the joint curve, which is never extrapolated.</translation>
    </message>
    <message>
        <source>Give the rating for the no-load current.</source>
        <translation>Give the rating for the no-load current.</translation>
    </message>
    <message>
        <source>Typical 45° joint curve</source>
        <translation>Typical 45° joint curve</translation>
    </message>
    <message>
        <source>%1 steps per book, %2 sheets per step</source>
        <translation>%1 steps per book, %2 sheets per step</translation>
    </message>
    <message>
        <source>Joint curve</source>
        <translation>Joint curve</translation>
    </message>
    <message>
        <source>Step-lap layout</source>
        <translation>Step-lap layout</translation>
    </message>
    <message>
        <source>The grade gives no VA/kg: give a curve file with a third column of VA/kg.</source>
        <translation>The grade gives no VA/kg: give a curve file with a third column of VA/kg.</translation>
    </message>
    <message>
        <source>step-lap</source>
        <translation>step-lap</translation>
    </message>
    <message>
        <source>mitred</source>
        <translation>mitred</translation>
    </message>
    <message>
        <source>%1 (K_q=%2, %3)</source>
        <translation>%1 (K_q=%2, %3)</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Report</name>
    <message>
        <source>The page could not be started.</source>
        <translation>The page could not be started.</translation>
    </message>
    <message>
        <source>Core design</source>
        <translation>Core design</translation>
    </message>
    <message>
        <source>The second page could not be started.</source>
        <translation>The second page could not be started.</translation>
    </message>
    <message>
        <source>Stage table</source>
        <translation>Stage table</translation>
    </message>
    <message>
        <source>Cut list</source>
        <translation>Cut list</translation>
    </message>
    <message>
        <source>Inputs</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>The pages could not be finished.</source>
        <translation>The pages could not be finished.</translation>
    </message>
    <message>
        <source>There is no default printer.</source>
        <translation>There is no default printer.</translation>
    </message>
    <message>
        <source>Title block</source>
        <translation>Title block</translation>
    </message>
    <message>
        <source>The third page could not be started.</source>
        <translation>The third page could not be started.</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::SectionView</name>
    <message>
        <source>Out of date: see the marked input</source>
        <translation>Out of date: see the marked input</translation>
    </message>
</context>
</TS>
