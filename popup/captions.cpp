#include "captions.h"

#include <cstddef>

namespace {

struct CaptionGroup {
    const uint32_t* lcids;
    size_t count;
    const char16_t* texts[4]; // volume up, volume down, mute on, mute off
};

const uint32_t DANISH[] = {0x0406};
const uint32_t GERMAN[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407};
const uint32_t SPANISH[] = {0x040A, 0x080A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A,
                            0x240A, 0x280A, 0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A,
                            0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A};
const uint32_t FINNISH[] = {0x040B};
const uint32_t FRENCH[] = {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C};
const uint32_t ITALIAN[] = {0x0410, 0x0810};
const uint32_t DUTCH[] = {0x0413, 0x0813};
const uint32_t NORWEGIAN[] = {0x0414, 0x0814};
const uint32_t PORTUGUESE_BRAZIL[] = {0x0416};
const uint32_t SWEDISH[] = {0x041D, 0x081D};
const uint32_t CHINESE_TAIWAN[] = {0x0404};
const uint32_t JAPANESE[] = {0x0411};
const uint32_t KOREAN[] = {0x0412};
const uint32_t CHINESE_PRC[] = {0x0804};

#define LCIDS(list) list, sizeof list / sizeof list[0]

const CaptionGroup GROUPS[] = {
    {LCIDS(DANISH), {u"Skru op for lydstyrken", u"Skru ned for lydstyrken", u"Til", u"Fra"}},
    {LCIDS(GERMAN), {u"Lautstarke erhohen", u"Lautstarke verringern", u"Aus", u"Ein"}},
    {LCIDS(SPANISH), {u"Aumentar volumen", u"Disminuir volumen", u"Encendido", u"Apagado"}},
    {LCIDS(FINNISH), {u"Suurenna aanenvoimakkuutta", u"Pienenna aanenvoimakkuutta", u"On", u"Off"}},
    {LCIDS(FRENCH), {u"Augmenter le volume", u"Diminuer le volume", u"Active", u"Desactive"}},
    {LCIDS(ITALIAN), {u"Alza volume", u"Abbassa volume", u"Attivato", u"Disattivato"}},
    {LCIDS(DUTCH), {u"Volume omhoog", u"Volume omlaag", u"Aan", u"Uit"}},
    {LCIDS(NORWEGIAN), {u"Hoyere volum", u"Lavere volum", u"Pa", u"Av"}},
    {LCIDS(PORTUGUESE_BRAZIL), {u"Aumentar Volume", u"Diminuir Volume", u"Ligado", u"Desligado"}},
    {LCIDS(SWEDISH), {u"Oka volymen", u"Sank volymen", u"Ljud Av", u"Ljud Pa"}},
    {LCIDS(CHINESE_TAIWAN),
     {u"\u8ABF\u9AD8\u97F3\u91CF", u"\u8ABF\u4F4E\u97F3\u91CF", u"\u975C\u97F3\u958B\u555F",
      u"\u975C\u97F3\u95DC\u9589"}},
    {LCIDS(JAPANESE), {u"\u97F3\u91CF?\u4E0A??", u"\u97F3\u91CF?\u4E0B??", u"??", u"??"}},
    {LCIDS(KOREAN), {u"?? ???", u"?? ???", u"??", u"??"}},
    {LCIDS(CHINESE_PRC),
     {u"\u589E\u5927\u97F3\u91CF", u"?\u5C0F\u97F3\u91CF", u"?\u97F3\u6253?", u"?\u97F3??"}},
};

#undef LCIDS

const char16_t* const DEFAULT_TEXTS[4] = {u"Increasing Volume", u"Decreasing Volume", u"Mute On",
                                          u"Mute Off"};

} // namespace

const char16_t* SelectCaption(CaptionKind kind, uint32_t lcid) {
    const int k = static_cast<int>(kind);
    for (const CaptionGroup& group : GROUPS) {
        for (size_t i = 0; i < group.count; ++i) {
            if (group.lcids[i] == lcid)
                return group.texts[k];
        }
    }
    return DEFAULT_TEXTS[k];
}
