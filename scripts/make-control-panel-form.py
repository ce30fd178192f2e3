#!/usr/bin/env python3
"""Writes the control panel's Designer form from its tables.

The form has some five hundred widgets in twenty-three pages; written by hand
its XML would hide the few things that matter (names, classes, places,
captions, ranges, states) under the boilerplate. The tables in
control_panel/form/*.txt hold just those things; this script turns them into
control_panel/kq_monitor_control_panel_dialog.ui, the file that builds.

    make-control-panel-form.py            rewrite the .ui
    make-control-panel-form.py --check    exit 1 (with a diff) when the
                                          committed .ui differs from the tables

Table syntax (one item a line, children indented two spaces under their
parent, '#' starts a comment line):

    dialog <name> key=value...         the form's top widget (QDialog)
    <Class> <name> [@place] key=value  a widget; an indented layout line below
                                       it is its layout, or, for a stacked or
                                       tab widget, its pages are indented below
    grid|vbox|hbox [<name>] [@place] [spacing=N] [margins=N]
                                       a layout; its items are indented below
    hspacer|vspacer WxH [Policy] [@place]
                                       a spacer (policy defaults to Expanding)
    use <page>                         a page (defined at top level elsewhere)
    promote <Class> <Base> <header>    a promoted widget class
    taborder [<page>]                  the names below, in order, are the tab
                                       chain (no page: the whole form's chain,
                                       where "page <name>" inserts that page's
                                       order, by default its document order)

@r,c or @r,c,rs,cs places an item in a grid layout. Values with spaces are
written in double quotes (\\" and \\\\ inside). Property keys: text, title,
tip, shortcut, suffix, format (display format), raw-text (an untranslated
text), icon, enabled, checked, checkable, wrap, min, max, step, decimals,
mindate, maxdate, index (current index), align (right, left, lefttop, center),
policy (H,V[,hstretch,vstretch]), minsize (WxH), adjust (contents), ticks
(below), frame (hline), selection (none), size (WxH, the dialog), header (tree
header text), tabtitle. A layout on a widget gets margins 11 unless given;
every layout gets spacing 6 unless given.
"""
import difflib
import glob
import os
import re
import sys
from xml.sax.saxutils import escape, quoteattr

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
TABLES = os.path.join(ROOT, 'control_panel', 'form')
OUTPUT = os.path.join(ROOT, 'control_panel', 'kq_monitor_control_panel_dialog.ui')
QRC_FROM_FORM = '../resources/tessaline.qrc'

LAYOUT_CLASSES = {'grid': 'QGridLayout', 'vbox': 'QVBoxLayout', 'hbox': 'QHBoxLayout'}
LAYOUT_STEMS = {'grid': 'gridLayout', 'vbox': 'verticalLayout', 'hbox': 'horizontalLayout'}
# Classes that take keyboard focus and so belong in the tab chain.
FOCUSABLE = {'QPushButton', 'QComboBox', 'QSpinBox', 'QDoubleSpinBox', 'QSlider', 'QCheckBox',
             'QRadioButton', 'QLineEdit', 'QTimeEdit', 'QDateEdit', 'QListWidget', 'QTreeWidget',
             'QTabWidget'}
ALIGNMENTS = {
    'right': 'Qt::AlignRight|Qt::AlignTrailing|Qt::AlignVCenter',
    'left': 'Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter',
    'lefttop': 'Qt::AlignLeading|Qt::AlignLeft|Qt::AlignTop',
    'center': 'Qt::AlignCenter',
}
TOKEN = re.compile(r'(?:[^\s"]+|"(?:\\.|[^"\\])*")+')


class FormError(Exception):
    pass


class Node:
    def __init__(self, kind, cls=None, name=None, place=None, props=None, where=''):
        self.kind = kind          # 'widget', 'layout', 'spacer', 'use'
        self.cls = cls
        self.name = name
        self.place = place
        self.props = props or {}
        self.children = []
        self.where = where


def unquote(text):
    if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
        return re.sub(r'\\(.)', r'\1', text[1:-1])
    return text


def split_line(line, where):
    tokens = TOKEN.findall(line)
    words, place, props = [], None, {}
    for token in tokens:
        if token.startswith('@'):
            numbers = [int(n) for n in token[1:].split(',')]
            if len(numbers) not in (2, 4):
                raise FormError('%s: bad place %s' % (where, token))
            place = tuple(numbers) if len(numbers) == 4 else (numbers[0], numbers[1], 1, 1)
        elif '=' in token and not token.startswith('"'):
            key, value = token.split('=', 1)
            if key in props:
                raise FormError('%s: %s given twice' % (where, key))
            props[key] = unquote(value)
        else:
            words.append(unquote(token))
    return words, place, props


class Tables:
    """Everything read from the table files."""

    def __init__(self):
        self.dialog = None
        self.pages = {}
        self.taborders = {}
        self.chain = None
        self.promotions = []

    def read(self, path):
        lines = []
        with open(path, encoding='utf-8') as f:
            for number, raw in enumerate(f, 1):
                if not raw.strip() or raw.lstrip().startswith('#'):
                    continue
                indent = len(raw) - len(raw.lstrip(' '))
                if indent % 2:
                    raise FormError('%s:%d: odd indentation' % (path, number))
                lines.append((indent // 2, raw.strip(), '%s:%d' % (os.path.basename(path), number)))
        i = 0
        while i < len(lines):
            depth, text, where = lines[i]
            if depth:
                raise FormError('%s: indented line without parent' % where)
            end = i + 1
            while end < len(lines) and lines[end][0] > 0:
                end += 1
            self.top_level(text, lines[i + 1:end], where)
            i = end

    def top_level(self, text, body, where):
        words, place, props = split_line(text, where)
        head = words[0]
        if head == 'promote':
            self.promotions.append(tuple(words[1:4]))
        elif head == 'taborder':
            names = [split_line(t, w)[0] for _, t, w in body]
            if len(words) == 1:
                self.chain = names
            else:
                self.taborders[words[1]] = [n[0] for n in names]
        else:
            node = self.build(text, body, where)
            if head == 'dialog':
                self.dialog = node
            else:
                self.pages[node.name] = node

    def build(self, text, body, where):
        words, place, props = split_line(text, where)
        head = words[0]
        if head == 'dialog':
            node = Node('widget', 'QDialog', words[1], None, props, where)
        elif head in LAYOUT_CLASSES:
            node = Node('layout', head, words[1] if len(words) > 1 else None, place, props, where)
        elif head in ('hspacer', 'vspacer'):
            size = words[1].split('x')
            node = Node('spacer', head, None, place, {
                'width': int(size[0]), 'height': int(size[1]),
                'policy': words[2] if len(words) > 2 else 'Expanding'}, where)
        elif head == 'use':
            node = Node('use', None, words[1], None, {}, where)
        else:
            if len(words) != 2:
                raise FormError('%s: expected "<Class> <name>"' % where)
            node = Node('widget', head, words[1], place, props, where)
        depth0 = body[0][0] if body else 0
        i = 0
        while i < len(body):
            depth, child, child_where = body[i]
            if depth != depth0:
                raise FormError('%s: bad indentation' % child_where)
            end = i + 1
            while end < len(body) and body[end][0] > depth0:
                end += 1
            node.children.append(self.build(child, body[i + 1:end], child_where))
            i = end
        return node

    def resolve(self, node):
        for k, child in enumerate(node.children):
            if child.kind == 'use':
                if child.name not in self.pages:
                    raise FormError('%s: no page %s' % (child.where, child.name))
                node.children[k] = self.pages.pop(child.name)
            self.resolve(node.children[k])


def walk(node):
    yield node
    for child in node.children:
        yield from walk(child)


def widgets_in(node):
    return [n for n in walk(node) if n.kind == 'widget']


def focusable(node):
    if node.cls in FOCUSABLE:
        return True
    return node.cls == 'QGroupBox' and node.props.get('checkable') == 'true'


def name_anonymous(dialog):
    """Gives layouts and spacers without a name the first free designer-style name."""
    used = {n.name for n in walk(dialog) if n.name}
    counters = {}

    def next_name(stem):
        n = counters.get(stem, 1)
        while True:
            candidate = stem if n == 1 else '%s_%d' % (stem, n)
            n += 1
            if candidate not in used:
                counters[stem] = n
                used.add(candidate)
                return candidate

    for node in walk(dialog):
        if node.kind == 'layout' and not node.name:
            node.name = next_name(LAYOUT_STEMS[node.cls])
        elif node.kind == 'spacer':
            node.name = next_name('horizontalSpacer' if node.cls == 'hspacer' else 'verticalSpacer')


def check_names(dialog):
    seen = {}
    for node in walk(dialog):
        if node.name is None:
            continue
        if node.name in seen:
            raise FormError('%s: %s already named at %s' % (node.where, node.name, seen[node.name]))
        seen[node.name] = node.where


def tab_chain(tables, dialog):
    stack_pages = {}
    for node in walk(dialog):
        if node.cls == 'QStackedWidget':
            stack_pages = {page.name: page for page in node.children}
    chain = []
    for words in tables.chain:
        if words[0] == 'page':
            page = stack_pages[words[1]]
            order = tables.taborders.get(words[1])
            chain.extend(order if order is not None else
                         [n.name for n in widgets_in(page) if focusable(n)])
        else:
            chain.append(words[0])
    by_name = {n.name: n for n in widgets_in(dialog)}
    missing = [name for name in chain if name not in by_name]
    twice = sorted({name for name in chain if chain.count(name) > 1})
    left_out = [n.name for n in widgets_in(dialog) if focusable(n) and n.name not in chain]
    if missing or twice or left_out:
        raise FormError('tab chain: unknown %s, twice %s, left out %s' % (missing, twice, left_out))
    return chain


class Writer:
    def __init__(self):
        self.out = []

    def line(self, depth, text):
        self.out.append(' ' * depth + text)

    def string_property(self, depth, name, value, notr=False):
        attribute = ' notr="true"' if notr else ''
        if value == '':
            self.line(depth, '<property name="%s">' % name)
            self.line(depth + 1, '<string%s/>' % attribute)
        else:
            self.line(depth, '<property name="%s">' % name)
            self.line(depth + 1, '<string%s>%s</string>' % (attribute, escape(value)))
        self.line(depth, '</property>')

    def simple_property(self, depth, name, tag, value):
        self.line(depth, '<property name="%s">' % name)
        self.line(depth + 1, '<%s>%s</%s>' % (tag, value, tag))
        self.line(depth, '</property>')

    def size_property(self, depth, name, value):
        width, height = value.split('x')
        self.line(depth, '<property name="%s">' % name)
        self.line(depth + 1, '<size>')
        self.line(depth + 2, '<width>%s</width>' % width)
        self.line(depth + 2, '<height>%s</height>' % height)
        self.line(depth + 1, '</size>')
        self.line(depth, '</property>')

    def date_property(self, depth, name, value):
        year, month, day = value.split('-')
        self.line(depth, '<property name="%s">' % name)
        self.line(depth + 1, '<date>')
        self.line(depth + 2, '<year>%d</year>' % int(year))
        self.line(depth + 2, '<month>%d</month>' % int(month))
        self.line(depth + 2, '<day>%d</day>' % int(day))
        self.line(depth + 1, '</date>')
        self.line(depth, '</property>')

    def icon_property(self, depth, name, path):
        self.line(depth, '<property name="%s">' % name)
        self.line(depth + 1, '<iconset resource=%s>' % quoteattr(QRC_FROM_FORM))
        self.line(depth + 2, '<normaloff>%s</normaloff>%s</iconset>' % (escape(path), escape(path)))
        self.line(depth, '</property>')

    def size_policy(self, depth, value):
        parts = value.split(',') + ['0', '0']
        self.line(depth, '<property name="sizePolicy">')
        self.line(depth + 1, '<sizepolicy hsizetype="%s" vsizetype="%s">' % (parts[0], parts[1]))
        self.line(depth + 2, '<horstretch>%s</horstretch>' % parts[2])
        self.line(depth + 2, '<verstretch>%s</verstretch>' % parts[3])
        self.line(depth + 1, '</sizepolicy>')
        self.line(depth, '</property>')

    def widget_properties(self, depth, node):
        props = dict(node.props)
        cls = node.cls
        number = 'double' if cls == 'QDoubleSpinBox' else 'number'

        def take(key):
            return props.pop(key, None)

        if cls == 'QDialog':
            width, height = take('size').split('x')
            self.line(depth, '<property name="geometry">')
            self.line(depth + 1, '<rect>')
            for tag, value in (('x', 0), ('y', 0), ('width', width), ('height', height)):
                self.line(depth + 2, '<%s>%s</%s>' % (tag, value, tag))
            self.line(depth + 1, '</rect>')
            self.line(depth, '</property>')
        if take('enabled') == 'false':
            self.simple_property(depth, 'enabled', 'bool', 'false')
        for key, name in (('policy', None), ('minsize', 'minimumSize')):
            value = take(key)
            if value is None:
                continue
            if key == 'policy':
                self.size_policy(depth, value)
            else:
                self.size_property(depth, name, value)
        value = take('tip')
        if value is not None:
            self.string_property(depth, 'toolTip', value)
        for key, name in (('windowTitle', 'windowTitle'),):
            value = take(key)
            if value is not None:
                self.string_property(depth, name, value)
        value = take('windowIcon')
        if value is not None:
            self.icon_property(depth, 'windowIcon', value)
        if cls == 'QFrame' and take('frame') == 'hline':
            self.simple_property(depth, 'frameShape', 'enum', 'QFrame::HLine')
            self.simple_property(depth, 'frameShadow', 'enum', 'QFrame::Sunken')
        value = take('selection')
        if value == 'none':
            self.simple_property(depth, 'selectionMode', 'enum', 'QAbstractItemView::NoSelection')
        if take('adjust') == 'contents':
            self.simple_property(depth, 'sizeAdjustPolicy', 'enum', 'QComboBox::AdjustToContents')
        value = take('title')
        if value is not None:
            self.string_property(depth, 'title', value)
        value = take('checkable')
        if value is not None:
            self.simple_property(depth, 'checkable', 'bool', value)
        value = take('text')
        if value is not None:
            self.string_property(depth, 'text', value)
        value = take('raw-text')
        if value is not None:
            self.string_property(depth, 'text', value, notr=True)
        value = take('icon')
        if value is not None:
            self.icon_property(depth, 'icon', value)
        value = take('shortcut')
        if value is not None:
            self.string_property(depth, 'shortcut', value)
        value = take('checked')
        if value is not None:
            self.simple_property(depth, 'checked', 'bool', value)
        value = take('align')
        if value is not None:
            self.simple_property(depth, 'alignment', 'set', ALIGNMENTS[value])
        if take('wrap') == 'true':
            self.simple_property(depth, 'wordWrap', 'bool', 'true')
        value = take('suffix')
        if value is not None:
            self.string_property(depth, 'suffix', value)
        value = take('decimals')
        if value is not None:
            self.simple_property(depth, 'decimals', 'number', value)
        for key, name in (('min', 'minimum'), ('max', 'maximum'), ('step', 'singleStep')):
            value = take(key)
            if value is not None:
                self.simple_property(depth, name, number, value)
        for key, name in (('maxdate', 'maximumDate'), ('mindate', 'minimumDate')):
            value = take(key)
            if value is not None:
                self.date_property(depth, name, value)
        value = take('format')
        if value is not None:
            self.string_property(depth, 'displayFormat', value)
        if cls == 'QSlider':
            self.simple_property(depth, 'orientation', 'enum', 'Qt::Horizontal')
        if take('ticks') == 'below':
            self.simple_property(depth, 'tickPosition', 'enum', 'QSlider::TicksBelow')
        value = take('index')
        if value is not None:
            self.simple_property(depth, 'currentIndex', 'number', value)
        value = take('tabtitle')
        if value is not None:
            self.line(depth, '<attribute name="title">')
            self.line(depth + 1, '<string>%s</string>' % escape(value))
            self.line(depth, '</attribute>')
        if cls == 'QTreeWidget':
            header = take('header')
            self.line(depth, '<attribute name="headerVisible">')
            self.line(depth + 1, '<bool>false</bool>')
            self.line(depth, '</attribute>')
            self.line(depth, '<column>')
            self.string_property(depth + 1, 'text', header, notr=True)
            self.line(depth, '</column>')
        if props:
            raise FormError('%s: unknown keys %s' % (node.where, sorted(props)))

    def widget(self, depth, node):
        self.line(depth, '<widget class="%s" name="%s">' % (node.cls, node.name))
        self.widget_properties(depth + 1, node)
        for child in node.children:
            if child.kind == 'layout':
                self.layout(depth + 1, child, on_widget=True)
            elif child.kind == 'widget':
                self.widget(depth + 1, child)
            else:
                raise FormError('%s: a widget holds a layout or pages' % child.where)
        self.line(depth, '</widget>')

    def layout(self, depth, node, on_widget):
        self.line(depth, '<layout class="%s" name="%s">' % (LAYOUT_CLASSES[node.cls], node.name))
        self.simple_property(depth + 1, 'spacing', 'number', node.props.get('spacing', '6'))
        margins = node.props.get('margins', '11' if on_widget else None)
        if margins is not None:
            for side in ('leftMargin', 'topMargin', 'rightMargin', 'bottomMargin'):
                self.simple_property(depth + 1, side, 'number', margins)
        unknown = set(node.props) - {'spacing', 'margins'}
        if unknown:
            raise FormError('%s: unknown keys %s' % (node.where, sorted(unknown)))
        for child in node.children:
            self.item(depth + 1, node, child)
        self.line(depth, '</layout>')

    def item(self, depth, layout, child):
        if layout.cls == 'grid':
            if child.place is None:
                raise FormError('%s: an item of a grid needs @row,column' % child.where)
            row, column, rows, columns = child.place
            spans = '' if (rows, columns) == (1, 1) else ' rowspan="%d" colspan="%d"' % (rows, columns)
            self.line(depth, '<item row="%d" column="%d"%s>' % (row, column, spans))
        else:
            if child.place is not None:
                raise FormError('%s: @place outside a grid' % child.where)
            self.line(depth, '<item>')
        if child.kind == 'widget':
            self.widget(depth + 1, child)
        elif child.kind == 'layout':
            self.layout(depth + 1, child, on_widget=False)
        else:
            self.spacer(depth + 1, child)
        self.line(depth, '</item>')

    def spacer(self, depth, node):
        horizontal = node.cls == 'hspacer'
        self.line(depth, '<spacer name="%s">' % node.name)
        self.simple_property(depth + 1, 'orientation', 'enum',
                             'Qt::Horizontal' if horizontal else 'Qt::Vertical')
        self.simple_property(depth + 1, 'sizeType', 'enum', 'QSizePolicy::' + node.props['policy'])
        self.line(depth + 1, '<property name="sizeHint" stdset="0">')
        self.line(depth + 2, '<size>')
        self.line(depth + 3, '<width>%d</width>' % node.props['width'])
        self.line(depth + 3, '<height>%d</height>' % node.props['height'])
        self.line(depth + 2, '</size>')
        self.line(depth + 1, '</property>')
        self.line(depth, '</spacer>')


def generate():
    tables = Tables()
    for path in sorted(glob.glob(os.path.join(TABLES, '*.txt'))):
        tables.read(path)
    if tables.dialog is None or tables.chain is None:
        raise FormError('the tables need one dialog and one whole-form taborder')
    dialog = tables.dialog
    tables.resolve(dialog)
    if tables.pages:
        raise FormError('pages never used: %s' % sorted(tables.pages))
    check_names(dialog)
    name_anonymous(dialog)
    chain = tab_chain(tables, dialog)

    w = Writer()
    w.line(0, '<?xml version="1.0" encoding="UTF-8"?>')
    w.line(0, '<!-- Written by scripts/make-control-panel-form.py from control_panel/form/*.txt;'
              ' edit the tables, not this file. -->')
    w.line(0, '<ui version="4.0">')
    w.line(1, '<class>%s</class>' % dialog.name)
    w.widget(1, dialog)
    w.line(1, '<customwidgets>')
    for cls, base, header in tables.promotions:
        w.line(2, '<customwidget>')
        w.line(3, '<class>%s</class>' % cls)
        w.line(3, '<extends>%s</extends>' % base)
        w.line(3, '<header>%s</header>' % header)
        w.line(2, '</customwidget>')
    w.line(1, '</customwidgets>')
    w.line(1, '<tabstops>')
    for name in chain:
        w.line(2, '<tabstop>%s</tabstop>' % name)
    w.line(1, '</tabstops>')
    w.line(1, '<resources>')
    w.line(2, '<include location=%s/>' % quoteattr(QRC_FROM_FORM))
    w.line(1, '</resources>')
    w.line(1, '<connections/>')
    w.line(0, '</ui>')
    return '\n'.join(w.out) + '\n'


def main(argv):
    try:
        text = generate()
    except FormError as error:
        print('make-control-panel-form: %s' % error, file=sys.stderr)
        return 2
    if '--check' in argv:
        with open(OUTPUT, encoding='utf-8') as f:
            committed = f.read()
        if committed == text:
            return 0
        sys.stdout.writelines(difflib.unified_diff(
            committed.splitlines(True), text.splitlines(True), 'committed', 'from tables'))
        print('control_panel/kq_monitor_control_panel_dialog.ui is not what the tables give;'
              ' run scripts/make-control-panel-form.py', file=sys.stderr)
        return 1
    with open(OUTPUT, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
