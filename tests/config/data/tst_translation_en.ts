<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>UpdateHint</name>
    <message>
        <source>更新提示</source>
        <translation>Update notice</translation>
    </message>
</context>
</TS>
