<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>kalvitra::designer::DesignDocument</name>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::DesignExporter</name>
    <message>
        <source>The design has a marked input; mend it first.</source>
        <translation>设计中有标出的错误输入，请先改正。</translation>
    </message>
    <message>
        <source>The report could not be made.</source>
        <translation>无法生成报告。</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::DesignerWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>打开(&amp;O)…</translation>
    </message>
    <message>
        <source>Open &amp;sheet…</source>
        <translation>打开计算单(&amp;S)…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;as…</source>
        <translation>另存为(&amp;A)…</translation>
    </message>
    <message>
        <source>Export s&amp;heet…</source>
        <translation>导出计算单(&amp;H)…</translation>
    </message>
    <message>
        <source>Export sheet</source>
        <translation>导出计算单</translation>
    </message>
    <message>
        <source>Kalvitra sheets (*.kvs)</source>
        <translation>Kalvitra 计算单 (*.kvs)</translation>
    </message>
    <message>
        <source>Open in &amp;calculator</source>
        <translation>在计算器中打开(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>导出(&amp;E)</translation>
    </message>
    <message>
        <source>Section as &amp;SVG…</source>
        <translation>截面图 SVG(&amp;S)…</translation>
    </message>
    <message>
        <source>Export section</source>
        <translation>导出截面图</translation>
    </message>
    <message>
        <source>SVG drawings (*.svg)</source>
        <translation>SVG 图 (*.svg)</translation>
    </message>
    <message>
        <source>Section as &amp;DXF…</source>
        <translation>截面图 DXF(&amp;D)…</translation>
    </message>
    <message>
        <source>DXF drawings (*.dxf)</source>
        <translation>DXF 图 (*.dxf)</translation>
    </message>
    <message>
        <source>Cut list as D&amp;XF…</source>
        <translation>剪切表 DXF(&amp;X)…</translation>
    </message>
    <message>
        <source>Export cut list</source>
        <translation>导出剪切表</translation>
    </message>
    <message>
        <source>Cut list as &amp;CSV…</source>
        <translation>剪切表 CSV(&amp;C)…</translation>
    </message>
    <message>
        <source>CSV tables (*.csv)</source>
        <translation>CSV 表 (*.csv)</translation>
    </message>
    <message>
        <source>&amp;Report as PDF…</source>
        <translation>报告 PDF(&amp;R)…</translation>
    </message>
    <message>
        <source>Export report</source>
        <translation>导出报告</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF 文档 (*.pdf)</translation>
    </message>
    <message>
        <source>&amp;Print report</source>
        <translation>打印报告(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>选择…</translation>
    </message>
    <message>
        <source>Choose curve file</source>
        <translation>选择损耗曲线文件</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>截面</translation>
    </message>
    <message>
        <source>Every piece of the frame as cut: the true mass.</source>
        <translation>按剪切的每一片计算：铁心框的真实质量。</translation>
    </message>
    <message>
        <source>Stage table</source>
        <translation>级表</translation>
    </message>
    <message>
        <source>Cut list</source>
        <translation>剪切表</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>out of date</source>
        <translation>已过时</translation>
    </message>
    <message>
        <source>%1[*] — Core designer</source>
        <translation>%1[*] — 铁心设计</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>无法打开</translation>
    </message>
    <message>
        <source>Cannot open %1:
%2

The window keeps what it had.</source>
        <translation>无法打开 %1：
%2

窗口保留原有内容。</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>未保存的修改</translation>
    </message>
    <message>
        <source>The design %1 has changes that are not saved. Save them?</source>
        <translation>设计 %1 有未保存的修改。要保存吗？</translation>
    </message>
    <message>
        <source>Open design</source>
        <translation>打开设计</translation>
    </message>
    <message>
        <source>Kalvitra designs (*.kvd);;Kalvitra sheets (*.kvs);;All files (*)</source>
        <translation>Kalvitra 设计 (*.kvd);;Kalvitra 计算单 (*.kvs);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Open sheet</source>
        <translation>打开计算单</translation>
    </message>
    <message>
        <source>Kalvitra sheets (*.kvs);;All files (*)</source>
        <translation>Kalvitra 计算单 (*.kvs);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>未保存</translation>
    </message>
    <message>
        <source>%1 was not saved:
%2

The file on disk is as it was.</source>
        <translation>%1 未能保存：
%2

磁盘上的文件保持原样。</translation>
    </message>
    <message>
        <source>Save design</source>
        <translation>保存设计</translation>
    </message>
    <message>
        <source>Kalvitra designs (*.kvd)</source>
        <translation>Kalvitra 设计 (*.kvd)</translation>
    </message>
    <message>
        <source>CSV tables (*.csv);;All files (*)</source>
        <translation>CSV 表 (*.csv);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Not written</source>
        <translation>未写出</translation>
    </message>
    <message>
        <source>%1 was not written:
%2</source>
        <translation>%1 未能写出：
%2</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写出：%1</translation>
    </message>
    <message>
        <source>No calculator</source>
        <translation>找不到计算器</translation>
    </message>
    <message>
        <source>The calculator kalvitra is neither beside the designer nor on the PATH.</source>
        <translation>计算器 kalvitra 既不在铁心设计程序旁边，也不在 PATH 中。</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>无法启动 %1。</translation>
    </message>
    <message>
        <source>Not printed</source>
        <translation>未打印</translation>
    </message>
    <message>
        <source>The report was not printed:
%1</source>
        <translation>报告未能打印：
%1</translation>
    </message>
    <message>
        <source>The report went to the default printer.</source>
        <translation>报告已发送到默认打印机。</translation>
    </message>
    <message>
        <source>chosen by the design</source>
        <translation>由设计选定</translation>
    </message>
    <message>
        <source>Sheet read leniently</source>
        <translation>计算单按宽松方式读取</translation>
    </message>
    <message>
        <source>%1 does not hold one plain number in every field the calculations read. The design takes what the calculations read:

%2

Check these inputs before using the design.</source>
        <translation>%1 中计算所读的字段并非每个都是一个单纯的数。设计采用计算所读出的值：

%2

使用本设计前请核对这些输入。</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;User guide</source>
        <translation>用户指南(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Keyboard shortcuts</source>
        <translation>键盘快捷键(&amp;K)</translation>
    </message>
    <message>
        <source>&amp;About the core designer</source>
        <translation>关于铁心设计(&amp;A)</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>关于 &amp;Qt</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>快捷键</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>No user guide</source>
        <translation>找不到用户指南</translation>
    </message>
    <message>
        <source>The user guide %1 is in none of these folders:
%2</source>
        <translation>以下文件夹中都没有用户指南 %1：
%2</translation>
    </message>
    <message>
        <source>No program opened %1.</source>
        <translation>没有程序能打开 %1。</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Kalvitra core designer %1&lt;/h3&gt;&lt;p&gt;Designs the stepped iron core of a power transformer: the section, the cut list, the masses and the no-load loss.&lt;/p&gt;&lt;p&gt;Copyright © 2026 Kalvitra developers. Released under the MIT licence: free to use, copy, change and pass on, without warranty.&lt;/p&gt;&lt;p&gt;Built with Qt %2, under the GNU LGPL version 3; Help ▸ About Qt tells more.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Kalvitra 铁心设计 %1&lt;/h3&gt;&lt;p&gt;设计电力变压器的阶梯形铁心：截面、剪切表、质量和空载损耗。&lt;/p&gt;&lt;p&gt;版权所有 © 2026 Kalvitra 开发者。按 MIT 许可证发布：可自由使用、复制、修改和分发，不提供任何担保。&lt;/p&gt;&lt;p&gt;使用 Qt %2 构建，Qt 按 GNU LGPL 第 3 版许可；详见“帮助 ▸ 关于 Qt”。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About the core designer</source>
        <translation>关于铁心设计</translation>
    </message>
    <message>
        <source>Choose joint curve file</source>
        <translation>选择接缝曲线文件</translation>
    </message>
    <message>
        <source>Typical</source>
        <translation>典型</translation>
    </message>
    <message>
        <source>Use the typical joint curve</source>
        <translation>使用典型接缝曲线</translation>
    </message>
    <message>
        <source>The typical figures of a 45° joint, in place of the file.</source>
        <translation>以 45° 接缝的典型数据代替文件。</translation>
    </message>
    <message>
        <source>Typical 45° joint curve</source>
        <translation>典型 45° 接缝曲线</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Files</name>
    <message>
        <source>This is a folder.</source>
        <translation>这是一个文件夹。</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes.</source>
        <translation>文件大于 %1 字节。</translation>
    </message>
    <message>
        <source>“%1” is not a choice of %2.</source>
        <translation>“%1”不是 %2 的可选项。</translation>
    </message>
    <message>
        <source>Not JSON: %1 at byte %2.</source>
        <translation>不是 JSON：第 %2 字节处%1。</translation>
    </message>
    <message>
        <source>Not a Kalvitra design: it has no “%1”.</source>
        <translation>不是 Kalvitra 设计文件：缺少“%1”。</translation>
    </message>
    <message>
        <source>Written by a newer Kalvitra (format %1).</source>
        <translation>由较新版本的 Kalvitra 写出（格式 %1）。</translation>
    </message>
    <message>
        <source>Unknown input “%1”.</source>
        <translation>未知的输入项“%1”。</translation>
    </message>
    <message>
        <source>The input “%1” is not a text.</source>
        <translation>输入项“%1”不是文本。</translation>
    </message>
    <message>
        <source>Line %1 is not NAME=TEXT of a sheet field.</source>
        <translation>第 %1 行不是计算单字段的 字段名=内容。</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>You may not read this file.</source>
        <translation>没有读取此文件的权限。</translation>
    </message>
    <message>
        <source>It cannot be opened: %1</source>
        <translation>无法打开：%1</translation>
    </message>
    <message>
        <source>It could not be read: %1</source>
        <translation>读取出错：%1</translation>
    </message>
    <message>
        <source>The sheet&apos;s stage widths cannot be taken:</source>
        <translation>无法采用计算单中的各级片宽：</translation>
    </message>
    <message>
        <source>%1: %2 read as %3</source>
        <translation>%1：%2 读作 %3</translation>
    </message>
    <message>
        <source>%1: %2 read as %3 (a comma ends a number: use a decimal point)</source>
        <translation>%1：%2 读作 %3（逗号使数在此结束：小数请用点号）</translation>
    </message>
    <message>
        <source>%1: empty; the design keeps %2</source>
        <translation>%1：为空；设计保留 %2</translation>
    </message>
    <message>
        <source>%1: %2 is not below %3 (%4): the widths must decrease</source>
        <translation>%1：%2 不小于 %3（%4）：片宽必须逐级减小</translation>
    </message>
    <message>
        <source>%1: empty while %2 is given: stage %3 is skipped</source>
        <translation>%1：为空而 %2 有值：跳过了第 %3 级</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Form</name>
    <message>
        <source>Core diameter</source>
        <translation>铁心直径</translation>
    </message>
    <message>
        <source>Stages</source>
        <translation>级数</translation>
    </message>
    <message>
        <source>A whole number from 1 to 9.</source>
        <translation>1 到 9 的整数。</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>片宽模数</translation>
    </message>
    <message>
        <source>Widths are multiples of this step; 0 for widths of any value.</source>
        <translation>片宽取此值的整数倍；为 0 时片宽可取任意值。</translation>
    </message>
    <message>
        <source>Minimum width</source>
        <translation>最小片宽</translation>
    </message>
    <message>
        <source>Widths from</source>
        <translation>片宽来源</translation>
    </message>
    <message>
        <source>Widths</source>
        <translation>片宽</translation>
    </message>
    <message>
        <source>Target net area</source>
        <translation>目标净截面积</translation>
    </message>
    <message>
        <source>The net area the smallest core diameter must reach.</source>
        <translation>最小铁心直径须达到的净截面积。</translation>
    </message>
    <message>
        <source>Diameter step</source>
        <translation>直径步距</translation>
    </message>
    <message>
        <source>The diameter found is a multiple of this step.</source>
        <translation>求得的直径为此值的整数倍。</translation>
    </message>
    <message>
        <source>Window height</source>
        <translation>窗高</translation>
    </message>
    <message>
        <source>Centre distance</source>
        <translation>中心距</translation>
    </message>
    <message>
        <source>Between the axes of neighbouring limbs.</source>
        <translation>相邻铁心柱轴线之间的距离。</translation>
    </message>
    <message>
        <source>Limbs</source>
        <translation>铁心柱数</translation>
    </message>
    <message>
        <source>Limbs in a row, at least 2.</source>
        <translation>一排铁心柱的数目，至少 2。</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>硅钢片密度</translation>
    </message>
    <message>
        <source>Stacking factor</source>
        <translation>叠片系数</translation>
    </message>
    <message>
        <source>Sheet thickness</source>
        <translation>片厚</translation>
    </message>
    <message>
        <source>Stack rounding</source>
        <translation>叠厚取整</translation>
    </message>
    <message>
        <source>Each step&apos;s height is floored to a multiple of this; 0 for none.</source>
        <translation>每级累计叠高向下取为此值的整数倍；为 0 时不取整。</translation>
    </message>
    <message>
        <source>Steel grade</source>
        <translation>硅钢片牌号</translation>
    </message>
    <message>
        <source>Typical 50 Hz curves from public grade tables; the supplier&apos;s curve rules for guarantees.</source>
        <translation>取自公开牌号表的典型 50 Hz 曲线；保证值以供应商的曲线为准。</translation>
    </message>
    <message>
        <source>Curve file</source>
        <translation>损耗曲线文件</translation>
    </message>
    <message>
        <source>Flux given as</source>
        <translation>磁密给定方式</translation>
    </message>
    <message>
        <source>Flux density</source>
        <translation>磁通密度</translation>
    </message>
    <message>
        <source>Volts per turn</source>
        <translation>匝电势</translation>
    </message>
    <message>
        <source>B = E / (√2·π·F·A), with the exact √2·π, not 4.44.</source>
        <translation>B = E / (√2·π·F·A)，用精确的 √2·π，而非 4.44。</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Building factor</source>
        <translation>工艺系数</translation>
    </message>
    <message>
        <source>The no-load loss is this factor × specific loss × frame mass.</source>
        <translation>空载损耗 = 此系数 × 单位损耗 × 铁心框质量。</translation>
    </message>
    <message>
        <source>Best for D</source>
        <translation>按直径取最佳</translation>
    </message>
    <message>
        <source>As given</source>
        <translation>按给定</translation>
    </message>
    <message>
        <source>Find D from the net area</source>
        <translation>按净截面积求直径</translation>
    </message>
    <message>
        <source>Type a number.</source>
        <translation>请输入一个数。</translation>
    </message>
    <message>
        <source>Not a number: type digits, with a point for decimals, as in 196.5.</source>
        <translation>不是数：请输入数字，小数用点号，例如 196.5。</translation>
    </message>
    <message>
        <source>A comma is not a decimal sign here: use a point, as in 196.5.</source>
        <translation>此处逗号不是小数点：请用点号，例如 196.5。</translation>
    </message>
    <message>
        <source>A comma is not a decimal sign here: use a point, as in %1.</source>
        <translation>此处逗号不是小数点：请用点号，例如 %1。</translation>
    </message>
    <message>
        <source>The number is beyond the range of double precision.</source>
        <translation>数值超出双精度范围。</translation>
    </message>
    <message>
        <source>Width %1: %2</source>
        <translation>第 %1 个片宽：%2</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>铁心框</translation>
    </message>
    <message>
        <source>Material</source>
        <translation>材料</translation>
    </message>
    <message>
        <source>Loss</source>
        <translation>损耗</translation>
    </message>
    <message>
        <source>Choose a curve file.</source>
        <translation>请选择损耗曲线文件。</translation>
    </message>
    <message>
        <source>The minimum width must be 0 or more and below D; without a grid it cannot be above the narrowest best width.</source>
        <translation>最小片宽必须不小于 0 且小于直径；不用片宽模数时，不能大于最窄的最佳片宽。</translation>
    </message>
    <message>
        <source>The diameter step must be greater than 0 and not too fine for the core.</source>
        <translation>直径步距必须大于 0，且对该铁心不能过细。</translation>
    </message>
    <message>
        <source>The window height must be greater than 0, and the frame&apos;s mass within the range of double precision.</source>
        <translation>窗高必须大于 0，且铁心框质量不超出双精度范围。</translation>
    </message>
    <message>
        <source>The centre distance must be greater than the widest width, or the limbs would overlap, and the frame&apos;s mass within the range of double precision.</source>
        <translation>中心距必须大于最宽的片宽，否则铁心柱会重叠；且铁心框质量不超出双精度范围。</translation>
    </message>
    <message>
        <source>The density must be greater than 0, and the frame&apos;s mass within the range of double precision.</source>
        <translation>硅钢片密度必须大于 0，且铁心框质量不超出双精度范围。</translation>
    </message>
    <message>
        <source>The stacking factor must be a number greater than 0 and at most 1.</source>
        <translation>叠片系数必须大于 0 且不大于 1。</translation>
    </message>
    <message>
        <source>The stack rounding must be 0 (none) or more, and leave every step a stack.</source>
        <translation>叠厚取整必须为 0（不取整）或更大，且每一级取整后仍有叠厚。</translation>
    </message>
    <message>
        <source>The sheet thickness must be greater than 0, and every step&apos;s stack must hold a pair of sheets.</source>
        <translation>片厚必须大于 0，且每一级的叠厚至少容纳一对硅钢片。</translation>
    </message>
    <message>
        <source>The flux density must lie within the loss curve; a curve is never extrapolated.</source>
        <translation>磁通密度必须在损耗曲线的范围内；曲线不外推。</translation>
    </message>
    <message>
        <source>The volts per turn must be greater than 0 and give a flux density within the loss curve.</source>
        <translation>匝电势必须大于 0，且得出的磁通密度在损耗曲线的范围内。</translation>
    </message>
    <message>
        <source>The frequency must be a number greater than 0.</source>
        <translation>频率必须大于 0。</translation>
    </message>
    <message>
        <source>The building factor must be a number greater than 0.</source>
        <translation>工艺系数必须大于 0。</translation>
    </message>
    <message>
        <source>Choose one of the grades in the list.</source>
        <translation>请从列表中选择一个牌号。</translation>
    </message>
    <message>
        <source>The curve file must hold two or more lines B,W/kg, B rising from line to line, no number negative.</source>
        <translation>损耗曲线文件必须有两行或更多 B,W/kg，B 逐行递增，且没有负数。</translation>
    </message>
    <message>
        <source>Core section</source>
        <translation>铁心截面</translation>
    </message>
    <message>
        <source>The number of stages must be a whole number from %1 to %2.</source>
        <translation>级数必须是 %1 到 %2 的整数。</translation>
    </message>
    <message>
        <source>The grid must be 0 (widths of any value) or a step greater than 0 that leaves 1 to %1 widths from the minimum width up to D; finding D needs a step.</source>
        <translation>片宽模数必须为 0（片宽任意）或大于 0 的步距，且从最小片宽到直径之间有 1 到 %1 个片宽；求直径时必须给出步距。</translation>
    </message>
    <message>
        <source>The target net area must be greater than 0 and within reach of a core of at most %1 mm.</source>
        <translation>目标净截面积必须大于 0，且直径不超过 %1 mm 的铁心能够达到。</translation>
    </message>
    <message>
        <source>Give %1 to %2 widths, each greater than 0, below D and below the width before it.</source>
        <translation>请给出 %1 到 %2 个片宽，每个都大于 0、小于直径，并小于前一级的片宽。</translation>
    </message>
    <message>
        <source>The number of limbs must be a whole number from %1 to %2.</source>
        <translation>铁心柱数必须是 %1 到 %2 的整数。</translation>
    </message>
    <message>
        <source>%1 must be a number greater than 0.</source>
        <translation>%1必须是大于 0 的数。</translation>
    </message>
    <message>
        <source>%1 must be a number from %2 to %3.</source>
        <translation>%1必须是 %2 到 %3 之间的数。</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3.</source>
        <translation>%1必须是 %2 到 %3 的整数。</translation>
    </message>
    <message>
        <source>%1 must be a number greater than 0 and at most 1.</source>
        <translation>%1必须大于 0 且不大于 1。</translation>
    </message>
    <message>
        <source>%1 must be 0 (none) or a number greater than 0.</source>
        <translation>%1必须为 0（不取整）或大于 0 的数。</translation>
    </message>
    <message>
        <source>%1 must be a number of 0 or more.</source>
        <translation>%1必须是不小于 0 的数。</translation>
    </message>
    <message>
        <source>Product model</source>
        <translation>产品型号</translation>
    </message>
    <message>
        <source>Kept in the sheet as Text1.</source>
        <translation>保存在计算单的 Text1 中。</translation>
    </message>
    <message>
        <source>Job number</source>
        <translation>工号</translation>
    </message>
    <message>
        <source>Kept in the sheet as Text2.</source>
        <translation>保存在计算单的 Text2 中。</translation>
    </message>
    <message>
        <source>Designed by</source>
        <translation>设计</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>校对</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>YYYY-MM-DD, as 2026-12-08; empty for today.</source>
        <translation>格式 YYYY-MM-DD，如 2026-12-08；留空为今天。</translation>
    </message>
    <message>
        <source>Title block</source>
        <translation>标题栏</translation>
    </message>
    <message>
        <source>The product model must be one line without control characters, at most %1 bytes.</source>
        <translation>产品型号须为一行文字，不含控制字符，至多 %1 字节。</translation>
    </message>
    <message>
        <source>The job number must be one line without control characters, at most %1 bytes.</source>
        <translation>工号须为一行文字，不含控制字符，至多 %1 字节。</translation>
    </message>
    <message>
        <source>The designer&apos;s name must be one line without control characters, at most %1 bytes.</source>
        <translation>设计人姓名须为一行文字，不含控制字符，至多 %1 字节。</translation>
    </message>
    <message>
        <source>The checker&apos;s name must be one line without control characters, at most %1 bytes.</source>
        <translation>校对人姓名须为一行文字，不含控制字符，至多 %1 字节。</translation>
    </message>
    <message>
        <source>The stage widths, widest first, separated by blanks, commas or line breaks.</source>
        <translation>各级片宽，从最宽的开始，用空格、逗号、顿号或换行分隔。</translation>
    </message>
    <message>
        <source>Type the widths, widest first, separated by blanks, commas or line breaks.</source>
        <translation>请输入片宽，从最宽的开始，用空格、逗号、顿号或换行分隔。</translation>
    </message>
    <message>
        <source>The core diameter must be a number from %1 to %2, above the widest width, and not so large beside the widths that the grid or the stack rounding is too fine for it.</source>
        <translation>铁心直径必须是 %1 到 %2 之间的数，大于最宽的片宽，且相对片宽不能大到使片宽模数或叠厚取整显得过细。</translation>
    </message>
    <message>
        <source>The date must be a day from 1900-01-01 on written YYYY-MM-DD, as 2026-12-08, or empty for today.</source>
        <translation>日期须为 1900-01-01 起的某一天，格式 YYYY-MM-DD，如 2026-12-08；留空为今天。</translation>
    </message>
    <message>
        <source>Rated power</source>
        <translation>额定容量</translation>
    </message>
    <message>
        <source>Three-phase; empty for a design without a rating.</source>
        <translation>三相；不按额定值设计时留空。</translation>
    </message>
    <message>
        <source>HV line voltage</source>
        <translation>高压线电压</translation>
    </message>
    <message>
        <source>Line to line, at the principal tap.</source>
        <translation>线电压，主分接。</translation>
    </message>
    <message>
        <source>LV line voltage</source>
        <translation>低压线电压</translation>
    </message>
    <message>
        <source>Line to line.</source>
        <translation>线电压。</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>联结组别</translation>
    </message>
    <message>
        <source>The IEC symbol, as Dyn11, Yyn0 or Yd11.</source>
        <translation>IEC 联结组标号，如 Dyn11、Yyn0 或 Yd11。</translation>
    </message>
    <message>
        <source>Volts-per-turn factor</source>
        <translation>匝电势系数</translation>
    </message>
    <message>
        <source>e = K_t·√S; 0.45 is usual for three-phase distribution transformers.</source>
        <translation>e = K_t·√S；三相配电变压器通常取 0.45。</translation>
    </message>
    <message>
        <source>Joints</source>
        <translation>接缝</translation>
    </message>
    <message>
        <source>Apparent-power factor</source>
        <translation>励磁容量系数</translation>
    </message>
    <message>
        <source>K_q of Q0 = K_q·q(B)·m + n_j·f_j·q_j(B)·A_net.</source>
        <translation>Q0 = K_q·q(B)·m + n_j·f_j·q_j(B)·A_net 中的 K_q。</translation>
    </message>
    <message>
        <source>Guaranteed no-load loss</source>
        <translation>空载损耗保证值</translation>
    </message>
    <message>
        <source>Empty for no guarantee.</source>
        <translation>无保证值时留空。</translation>
    </message>
    <message>
        <source>Guaranteed no-load current</source>
        <translation>空载电流保证值</translation>
    </message>
    <message>
        <source>In % of the rated current; empty for no guarantee.</source>
        <translation>额定电流的百分数；无保证值时留空。</translation>
    </message>
    <message>
        <source>Find D from the rating</source>
        <translation>由额定值求 D</translation>
    </message>
    <message>
        <source>Mitred (45°)</source>
        <translation>斜接（45°）</translation>
    </message>
    <message>
        <source>Step-lap</source>
        <translation>步进搭接</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>额定值</translation>
    </message>
    <message>
        <source>No-load and guarantee</source>
        <translation>空载与保证值</translation>
    </message>
    <message>
        <source>The rated power must be greater than 0, given with the voltages and the connection, or all of the rating left empty.</source>
        <translation>额定容量必须大于 0，并与电压和联结组别一起给出；或额定值全部留空。</translation>
    </message>
    <message>
        <source>The HV line voltage must be greater than 0 and at least the LV one, given with the rest of the rating.</source>
        <translation>高压线电压必须大于 0 且不低于低压线电压，并与其余额定值一起给出。</translation>
    </message>
    <message>
        <source>The LV line voltage must be greater than 0 and at most the HV one, given with the rest of the rating.</source>
        <translation>低压线电压必须大于 0 且不高于高压线电压，并与其余额定值一起给出。</translation>
    </message>
    <message>
        <source>The connection must be a three-phase IEC symbol without zigzag, as Dyn11, with a clock number the two windings can give.</source>
        <translation>联结组别必须是三相 IEC 标号（不含曲折联结），如 Dyn11，且钟时序数须为两绕组所能给出。</translation>
    </message>
    <message>
        <source>The volts-per-turn factor must be greater than 0 and give at most 100000 turns.</source>
        <translation>匝电势系数必须大于 0，且匝数不超过 100000。</translation>
    </message>
    <message>
        <source>The apparent-power factor must be a number greater than 0.</source>
        <translation>励磁容量系数必须是大于 0 的数。</translation>
    </message>
    <message>
        <source>The guaranteed no-load loss must be greater than 0, or empty.</source>
        <translation>空载损耗保证值必须大于 0，或留空。</translation>
    </message>
    <message>
        <source>The guaranteed no-load current must be greater than 0, or empty.</source>
        <translation>空载电流保证值必须大于 0，或留空。</translation>
    </message>
    <message>
        <source>A CSV file of B,W/kg points, B rising; a third column of VA/kg gives the no-load current.</source>
        <translation>CSV 文件，每行 B,W/kg，B 递增；第三列 VA/kg 可算空载电流。</translation>
    </message>
    <message>
        <source>Joint curve file</source>
        <translation>接缝曲线文件</translation>
    </message>
    <message>
        <source>A CSV file of B,VA/cm2 points, B rising; none for the typical joint curve.</source>
        <translation>CSV 文件，每行 B,VA/cm2，B 递增；不选则用典型接缝曲线。</translation>
    </message>
    <message>
        <source>Steps per book</source>
        <translation>每叠步数</translation>
    </message>
    <message>
        <source>Step-lap joints, with the sheets per step; both empty for none. Recorded in the report.</source>
        <translation>步进搭接用，与每步片数一同给出；两者都空则不记。记入报告。</translation>
    </message>
    <message>
        <source>Sheets per step</source>
        <translation>每步片数</translation>
    </message>
    <message>
        <source>Step-lap joints, with the steps per book; both empty for none. Recorded in the report.</source>
        <translation>步进搭接用，与每叠步数一同给出；两者都空则不记。记入报告。</translation>
    </message>
    <message>
        <source>The joint curve file must hold two or more lines B,VA/cm2, B rising from line to line, no number negative.</source>
        <translation>接缝曲线文件必须有两行或更多 B,VA/cm2，B 逐行递增，且没有负数。</translation>
    </message>
    <message>
        <source>The number of steps per book must be a whole number from %1 to %2, given with the number of sheets per step.</source>
        <translation>每叠步数必须是 %1 到 %2 的整数，并与每步片数一起给出。</translation>
    </message>
    <message>
        <source>The number of sheets per step must be a whole number from %1 to %2, given with the number of steps per book.</source>
        <translation>每步片数必须是 %1 到 %2 的整数，并与每叠步数一起给出。</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Presentation</name>
    <message>
        <source>Gross area</source>
        <translation>截面积</translation>
    </message>
    <message>
        <source>Utilisation</source>
        <translation>填充系数</translation>
    </message>
    <message>
        <source>Frame mass</source>
        <translation>铁心框质量</translation>
    </message>
    <message>
        <source>Calculator&apos;s weight</source>
        <translation>计算器的铁心重量</translation>
    </message>
    <message>
        <source>3 limbs Hw + yokes 2C + D</source>
        <translation>三柱 Hw + 铁轭 2C + D</translation>
    </message>
    <message>
        <source>Peak flux density</source>
        <translation>磁通密度峰值</translation>
    </message>
    <message>
        <source>Specific loss</source>
        <translation>单位损耗</translation>
    </message>
    <message>
        <source>No-load loss</source>
        <translation>空载损耗</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Published conventions, not the frame as cut</source>
        <translation>公开的估算惯例，不是按剪切的铁心框</translation>
    </message>
    <message>
        <source>Loss figures</source>
        <translation>损耗结果</translation>
    </message>
    <message>
        <source>Net area, stacks as cut</source>
        <translation>净截面积（按剪切叠厚）</translation>
    </message>
    <message>
        <source>Net area, gross area × stacking factor</source>
        <translation>净截面积（截面积×叠片系数）</translation>
    </message>
    <message>
        <source>Total stack, ideal</source>
        <translation>总叠厚（理想）</translation>
    </message>
    <message>
        <source>Total stack, as cut</source>
        <translation>总叠厚（按剪切）</translation>
    </message>
    <message>
        <source>Within the guarantee, margin %1 %</source>
        <translation>在保证值以内，裕度 %1 %</translation>
    </message>
    <message>
        <source>Above the guarantee, within the tolerance, margin %1 %</source>
        <translation>超过保证值，但在允许偏差以内，裕度 %1 %</translation>
    </message>
    <message>
        <source>Beyond the tolerance, margin %1 %</source>
        <translation>超出允许偏差，裕度 %1 %</translation>
    </message>
    <message>
        <source>Ratio error</source>
        <translation>电压比偏差</translation>
    </message>
    <message>
        <source>HV phase voltage</source>
        <translation>高压相电压</translation>
    </message>
    <message>
        <source>LV phase voltage</source>
        <translation>低压相电压</translation>
    </message>
    <message>
        <source>Turns HV / LV</source>
        <translation>匝数 高压 / 低压</translation>
    </message>
    <message>
        <source>Volts per turn</source>
        <translation>匝电势</translation>
    </message>
    <message>
        <source>Net area required</source>
        <translation>所需净截面</translation>
    </message>
    <message>
        <source>Flux density in this core</source>
        <translation>本铁心的磁密</translation>
    </message>
    <message>
        <source>Apparent power, steel</source>
        <translation>励磁容量，铁心本体</translation>
    </message>
    <message>
        <source>Apparent power, joints</source>
        <translation>励磁容量，接缝</translation>
    </message>
    <message>
        <source>Apparent power, total</source>
        <translation>励磁容量，合计</translation>
    </message>
    <message>
        <source>No-load current</source>
        <translation>空载电流</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>计算方法</translation>
    </message>
    <message>
        <source>No-load loss verdict</source>
        <translation>空载损耗判定</translation>
    </message>
    <message>
        <source>No-load current verdict</source>
        <translation>空载电流判定</translation>
    </message>
    <message>
        <source>Tolerance rule</source>
        <translation>允许偏差依据</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>额定值</translation>
    </message>
    <message>
        <source>No-load and guarantee</source>
        <translation>空载与保证值</translation>
    </message>
    <message>
        <source>(beyond the %1 % tolerance on the ratio)</source>
        <translation>（超出电压比 %1 % 的允许偏差）</translation>
    </message>
    <message>
        <source>GB/T 1094.1 (IEC 60076-1): P0 +%1 %, I0 +%2 % above the guarantee</source>
        <translation>GB/T 1094.1（IEC 60076-1）：P0 +%1 %，I0 +%2 %（高于保证值）</translation>
    </message>
    <message>
        <source>The curve gives no VA/kg: give a curve file with a third column of VA/kg.</source>
        <translation>该曲线没有 VA/kg：请给出第三列为 VA/kg 的曲线文件。</translation>
    </message>
    <message>
        <source>The flux density lies outside the joint curve, which is never extrapolated.</source>
        <translation>磁通密度超出接缝曲线的范围，曲线不外推。</translation>
    </message>
    <message>
        <source>Give the rating for the no-load current.</source>
        <translation>计算空载电流需给出额定值。</translation>
    </message>
    <message>
        <source>Typical 45° joint curve</source>
        <translation>典型 45° 接缝曲线</translation>
    </message>
    <message>
        <source>%1 steps per book, %2 sheets per step</source>
        <translation>每叠 %1 步，每步 %2 片</translation>
    </message>
    <message>
        <source>Joint curve</source>
        <translation>接缝曲线</translation>
    </message>
    <message>
        <source>Step-lap layout</source>
        <translation>步进搭接布置</translation>
    </message>
    <message>
        <source>The grade gives no VA/kg: give a curve file with a third column of VA/kg.</source>
        <translation>该牌号没有 VA/kg：请给出第三列为 VA/kg 的曲线文件。</translation>
    </message>
    <message>
        <source>step-lap</source>
        <translation>步进搭接</translation>
    </message>
    <message>
        <source>mitred</source>
        <translation>斜接</translation>
    </message>
    <message>
        <source>%1 (K_q=%2, %3)</source>
        <translation>%1（K_q=%2，%3）</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::Report</name>
    <message>
        <source>The page could not be started.</source>
        <translation>无法开始页面。</translation>
    </message>
    <message>
        <source>Core design</source>
        <translation>铁心设计</translation>
    </message>
    <message>
        <source>The second page could not be started.</source>
        <translation>无法开始第二页。</translation>
    </message>
    <message>
        <source>Stage table</source>
        <translation>级表</translation>
    </message>
    <message>
        <source>Cut list</source>
        <translation>剪切表</translation>
    </message>
    <message>
        <source>Inputs</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>The pages could not be finished.</source>
        <translation>无法完成页面。</translation>
    </message>
    <message>
        <source>There is no default printer.</source>
        <translation>没有默认打印机。</translation>
    </message>
    <message>
        <source>Title block</source>
        <translation>标题栏</translation>
    </message>
    <message>
        <source>The third page could not be started.</source>
        <translation>无法开始第三页。</translation>
    </message>
</context>
<context>
    <name>kalvitra::designer::SectionView</name>
    <message>
        <source>Out of date: see the marked input</source>
        <translation>已过时：请查看标出的输入</translation>
    </message>
</context>
</TS>
