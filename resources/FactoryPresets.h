#pragma once

/** The factory presets: a complete presets.xml (declaration, empty line, root
    "PRESETS", CR LF line ends) holding the entries "preset1" to "preset23".

    FactoryPresets.cpp and FactoryPresets.xml are generated from the table in
    resources/tools/FactoryPresetTable.h by resources/tools/generate_factory_presets.cpp;
    edit the table and regenerate rather than editing them by hand. */
extern const char* const factoryPresetsXml;
extern const int factoryPresetsXmlSize;

/** The number of factory entries at the head of every presets file. */
constexpr int factoryPresetCount = 23;
