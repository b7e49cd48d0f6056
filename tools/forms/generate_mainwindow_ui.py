def btn(cls, name, w, h, text='', style='', extra=''):
    st = '<property name="styleSheet"><string notr="true">%s</string></property>' % style if style else ''
    return ('<widget class="%s" name="%s">\n'
            ' <property name="minimumSize"><size><width>%d</width><height>%d</height></size></property>\n'
            ' <property name="maximumSize"><size><width>%d</width><height>%d</height></size></property>\n'
            ' <property name="cursor"><cursorShape>PointingHandCursor</cursorShape></property>\n'
            ' <property name="text"><string>%s</string></property>\n %s\n %s\n</widget>') % (cls, name, w, h, w, h, text, st, extra)
def img3(base):
    return ("QPushButton{border-image: url(:/images/%s.png);}"
            "QPushButton:hover{border-image: url(:/images/%s_hover.png);}"
            "QPushButton:pressed{border-image: url(:/images/%s_press.png);}") % (base, base, base)
def nav(base):
    return ("QToolButton{font: 10pt &quot;微软雅黑&quot;;color: rgb(255, 255, 255);padding-top: 34px;border-image: url(:/images/%s.png);}"
            "QToolButton:hover{border-image: url(:/images/%s_hover.png);}"
            "QToolButton:checked{border-image: url(:/images/%s_checked.png);}") % (base, base, base)
def lan(base):
    return ("QToolButton{border-image: url(:/images/%s.png);}"
            "QToolButton:checked{border-image: url(:/images/%s_checked.png);}") % (base, base)
checkable = '<property name="checkable"><bool>true</bool></property><property name="autoExclusive"><bool>true</bool></property>'
navextra = checkable + '<property name="toolButtonStyle"><enum>Qt::ToolButtonTextUnderIcon</enum></property>'
def spacer(name):
    return ('<spacer name="%s"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
            '<property name="sizeHint" stdset="0"><size><width>20</width><height>20</height></size></property></spacer>') % name
def hbox(name, items, margins=(0, 0, 0, 0), spacing=6):
    l, t, r, b = margins
    inner = ''.join('<item>%s</item>' % i for i in items)
    return ('<layout class="QHBoxLayout" name="%s">'
            '<property name="spacing"><number>%d</number></property>'
            '<property name="leftMargin"><number>%d</number></property><property name="topMargin"><number>%d</number></property>'
            '<property name="rightMargin"><number>%d</number></property><property name="bottomMargin"><number>%d</number></property>'
            '%s</layout>') % (name, spacing, l, t, r, b, inner)
def fixedh(h):
    return ('<property name="minimumSize"><size><width>0</width><height>%d</height></size></property>'
            '<property name="maximumSize"><size><width>16777215</width><height>%d</height></size></property>') % (h, h)
def lamp(n):
    return ('<widget class="QLabel" name="%s"><property name="minimumSize"><size><width>21</width><height>20</height></size></property>'
            '<property name="maximumSize"><size><width>21</width><height>20</height></size></property>'
            '<property name="text"><string/></property><property name="scaledContents"><bool>true</bool></property></widget>') % n

winbuttons = ('<widget class="QWidget" name="widget">'
              '<property name="minimumSize"><size><width>88</width><height>19</height></size></property>'
              '<property name="maximumSize"><size><width>88</width><height>34</height></size></property>'
              + hbox("horizontalLayout_winButtons", [spacer("horizontalSpacer_win"), btn("QPushButton", "btn_minWin", 24, 25, "", img3("min")),
                                                    btn("QPushButton", "btn_close", 24, 25, "", img3("close"))], spacing=8) + '</widget>')
title = ('<widget class="QWidget" name="widget_titleBar">' + fixedh(34) +
         '<property name="styleSheet"><string notr="true">#widget_titleBar{background-color: rgb(0, 0, 0);border-bottom: 3px solid rgb(36, 36, 36);'
         'border-top-left-radius: 8px;border-top-right-radius: 8px;}</string></property>'
         + hbox("horizontalLayout_title", [spacer("horizontalSpacer_title"), winbuttons], margins=(14, 3, 8, 3)) + '</widget>')
mid = ('<widget class="QWidget" name="widget_midBar">' + fixedh(87) +
       '<property name="styleSheet"><string notr="true">#widget_midBar{border-image: url(:/images/mid_bar.png);}</string></property>'
       + hbox("horizontalLayout_mid", [
           btn("QPushButton", "btn_connect", 120, 34, "", "", '<property name="enabled"><bool>false</bool></property>'),
           spacer("horizontalSpacer_mid"),
           btn("QToolButton", "btn_settings", 78, 70, "设置", nav("settings"), navextra + '<property name="checked"><bool>true</bool></property>'),
           btn("QToolButton", "btn_tools", 78, 70, "工具", nav("tool"), navextra),
           btn("QToolButton", "btn_ActaPhytophySin", 78, 70, "植保", nav("ActaPhytophySin"), navextra),
           btn("QToolButton", "btn_update", 78, 70, "更新", nav("update"), navextra)], margins=(20, 8, 20, 8), spacing=14) + '</widget>')
pages = ''.join('<widget class="%s" name="%s"/>' % cn for cn in [("KivSettingWgt", "wgt_setting"), ("KivToolsWgt", "wgt_tools"),
                                                                 ("KivUpdateWgt", "wgt_update"), ("LumActaPhytophySin", "wgt_ActaPhytophySin")])
stack = ('<widget class="QStackedWidget" name="stackedWidget">'
         '<property name="styleSheet"><string notr="true">#stackedWidget{background-color: rgb(245, 246, 248);}</string></property>'
         '<property name="currentIndex"><number>0</number></property>' + pages + '</widget>')
status = ('<widget class="QWidget" name="widget_statusBar">' + fixedh(56) +
          '<property name="styleSheet"><string notr="true">#widget_statusBar{background-color: rgb(40, 41, 46);border-bottom-left-radius: 8px;'
          'border-bottom-right-radius: 8px;}QLabel{color: rgb(200, 200, 200);font: 10pt &quot;微软雅黑&quot;;}</string></property>'
          + hbox("horizontalLayout_status", [lamp("lb_redLight"), lamp("lb_blueLight"), spacer("horizontalSpacer_status"),
                 btn("QToolButton", "btn_zh_s_lan", 35, 26, "", lan("lan_zh"), checkable + '<property name="checked"><bool>true</bool></property>'),
                 btn("QToolButton", "btn_en_lan", 35, 26, "", lan("lan_en"), checkable),
                 '<widget class="QLabel" name="lblStaticVersion"><property name="text"><string>版本：</string></property></widget>',
                 '<widget class="QLabel" name="lblVersion"><property name="minimumSize"><size><width>35</width><height>0</height></size></property>'
                 '<property name="text"><string notr="true">1.55</string></property></widget>'], margins=(20, 8, 20, 8), spacing=10) + '</widget>')
zero = ('<property name="spacing"><number>0</number></property><property name="leftMargin"><number>0</number></property>'
        '<property name="topMargin"><number>0</number></property><property name="rightMargin"><number>0</number></property>'
        '<property name="bottomMargin"><number>0</number></property>')
custom = ''.join('<customwidget><class>%s</class><extends>QWidget</extends><header>%s</header><container>1</container></customwidget>' % ch
                 for ch in [("KivSettingWgt", "ui/KivSettingWgt.h"), ("KivToolsWgt", "ui/KivToolsWgt.h"),
                            ("KivUpdateWgt", "update/KivUpdateWgt.h"), ("LumActaPhytophySin", "ui/LumActaPhytophySin.h")])
ui = ('<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>KivMainWindow</class>\n'
      ' <widget class="QMainWindow" name="KivMainWindow">\n'
      '  <property name="geometry"><rect><x>0</x><y>0</y><width>867</width><height>751</height></rect></property>\n'
      '  <property name="minimumSize"><size><width>867</width><height>751</height></size></property>\n'
      '  <property name="maximumSize"><size><width>867</width><height>751</height></size></property>\n'
      '  <property name="windowTitle"><string>R7 Assitant</string></property>\n'
      '  <widget class="QWidget" name="centralwidget"><layout class="QVBoxLayout" name="verticalLayout_central">' + zero +
      '<item><widget class="QWidget" name="widget_bg"><property name="styleSheet"><string notr="true">#widget_bg{background-color: rgb(40, 41, 46);'
      'border: none;border-radius: 8px;}</string></property><layout class="QVBoxLayout" name="verticalLayout_bg">' + zero +
      '<item>' + title + '</item><item>' + mid + '</item><item>' + stack + '</item><item>' + status + '</item>'
      '</layout></widget></item></layout></widget>\n </widget>\n <customwidgets>' + custom + '</customwidgets>\n <resources/>\n <connections/>\n</ui>\n')
open('/work/main/ui/KivMainWindow.ui', 'w').write(ui)
