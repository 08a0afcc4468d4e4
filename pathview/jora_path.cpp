// The Jora signal-path view: the map drawn on canvas 15 of the Jora path panel, the blocks
// under its wires, the rules that light its groups and set its panel from CFG_REG, the canvas
// click table and the panel's rings, tool tips and callbacks. The diagram has no tab
// rectangles and no control lines; switch 26 is the one standing switch.
#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathJora_pan.h"
#include "pathview/path_model.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathJora_pan;

// ---- map ---------------------------------------------------------------------------------
// Dots 0 to 243 (206 and 207 are one point), segments 0 to 156, switches 0 to 28, double-throw
// switches 0 to 6 (EQ placement, ADC and DAC polarities, OUT4 and OUT3 gain).
const std::vector<DotDef> kJoraDots = {
    {0, 50, 47}, {1, 129, 47}, {2, 451, 47}, {3, 463, 47}, {4, 510, 47}, {5, 510, 60}, {6, 552, 60},
    {7, 170, 112}, {8, 129, 112}, {9, 178, 112}, {10, 190, 122}, {11, 50, 144}, {12, 100, 144}, {13, 140, 155},
    {14, 72, 144}, {15, 83, 144}, {16, 172, 155}, {17, 190, 155}, {18, 72, 165}, {19, 83, 165}, {20, 241, 155},
    {21, 250, 155}, {22, 265, 155}, {23, 250, 89}, {24, 72, 187}, {25, 83, 187}, {26, 300, 89}, {27, 340, 89},
    {28, 390, 89}, {29, 420, 89}, {30, 146, 155}, {31, 157, 155}, {32, 440, 89}, {33, 552, 100}, {34, 50, 165},
    {35, 90, 165}, {36, 100, 165}, {37, 90, 187}, {38, 60, 187}, {39, 50, 187}, {40, 60, 215}, {41, 170, 215},
    {42, 176, 215}, {43, 190, 200}, {44, 320, 150}, {45, 451, 89}, {46, 462, 89}, {47, 320, 160}, {48, 355, 155},
    {49, 365, 155}, {50, 440, 150}, {51, 440, 160}, {52, 334, 150}, {53, 345, 155}, {54, 500, 155}, {55, 518, 155},
    {56, 334, 160}, {57, 552, 155}, {58, 418, 155}, {59, 429, 150}, {60, 625, 59}, {61, 429, 160}, {62, 640, 59},
    {63, 680, 59}, {64, 625, 91}, {65, 534, 155}, {66, 544, 155}, {67, 672, 91}, {68, 680, 96}, {69, 625, 124},
    {70, 656, 155}, {71, 667, 155}, {72, 672, 124}, {73, 676, 124}, {74, 656, 59}, {75, 667, 59}, {76, 680, 124},
    {77, 680, 155}, {78, 572, 195}, {79, 656, 91}, {80, 667, 91}, {81, 572, 252}, {82, 700, 252}, {83, 625, 155},
    {84, 656, 124}, {85, 667, 124}, {86, 720, 120}, {87, 770, 120}, {88, 770, 88}, {89, 870, 82}, {90, 870, 93},
    {91, 860, 200}, {92, 798, 88}, {93, 809, 88}, {94, 830, 88}, {95, 840, 82}, {96, 889, 200}, {97, 840, 93},
    {98, 860, 215}, {99, 889, 215}, {100, 870, 150}, {101, 830, 156}, {102, 840, 150}, {103, 870, 161}, {104, 840, 161},
    {105, 809, 156}, {106, 780, 156}, {107, 798, 156}, {108, 860, 370}, {109, 798, 252}, {110, 809, 252}, {111, 889, 370},
    {112, 889, 252}, {113, 860, 385}, {114, 889, 385}, {115, 889, 321}, {116, 798, 321}, {117, 809, 321}, {118, 700, 321},
    {119, 780, 420}, {120, 730, 420}, {121, 600, 321}, {122, 656, 186}, {123, 667, 186}, {124, 50, 258}, {125, 100, 258},
    {126, 655, 379}, {127, 666, 379}, {128, 50, 278}, {129, 90, 278}, {130, 100, 278}, {131, 656, 410}, {132, 667, 410},
    {133, 50, 300}, {134, 60, 300}, {135, 656, 441}, {136, 667, 441}, {137, 60, 330}, {138, 90, 300}, {139, 170, 330},
    {140, 701, 379}, {141, 701, 368}, {142, 140, 268}, {143, 172, 268}, {144, 180, 268}, {145, 190, 276}, {146, 190, 330},
    {147, 241, 310}, {148, 250, 310}, {149, 265, 310}, {150, 72, 258}, {151, 83, 258}, {152, 250, 421}, {153, 300, 421},
    {154, 72, 278}, {155, 83, 278}, {156, 350, 421}, {157, 400, 421}, {158, 420, 421}, {159, 440, 421}, {160, 72, 300},
    {161, 83, 300}, {162, 480, 421}, {163, 552, 400}, {164, 320, 305}, {165, 355, 310}, {166, 146, 268}, {167, 157, 268},
    {168, 320, 316}, {169, 376, 230}, {170, 387, 230}, {171, 381, 280}, {172, 365, 310}, {173, 440, 316}, {174, 440, 305},
    {175, 500, 310}, {176, 510, 310}, {177, 526, 310}, {178, 552, 310}, {179, 518, 331}, {180, 548, 331}, {181, 552, 338},
    {182, 390, 155}, {183, 405, 155}, {184, 129, 380}, {185, 175, 380}, {186, 190, 340}, {187, 390, 310}, {188, 451, 421},
    {189, 462, 421}, {190, 405, 310}, {191, 500, 463}, {192, 530, 463}, {193, 552, 463}, {194, 50, 463}, {195, 334, 305},
    {196, 345, 310}, {197, 129, 463}, {198, 860, 400}, {199, 334, 316}, {200, 889, 400}, {201, 376, 257}, {202, 387, 257},
    {203, 625, 410}, {204, 381, 268}, {205, 640, 379}, {206, 419, 310}, {207, 419, 310}, {208, 429, 305}, {209, 680, 390},
    {210, 429, 316}, {211, 625, 379}, {212, 680, 410}, {213, 625, 441}, {214, 535, 310}, {215, 546, 310}, {216, 640, 441},
    {217, 680, 430}, {218, 535, 331}, {219, 546, 331}, {220, 701, 386}, {221, 701, 350}, {222, 740, 350}, {223, 526, 176},
    {224, 552, 185}, {225, 451, 463}, {226, 462, 463}, {227, 625, 186}, {228, 592, 321}, {229, 672, 186}, {230, 680, 186},
    {231, 740, 120}, {232, 50, 47}, {233, 129, 47}, {234, 463, 47}, {235, 510, 47}, {236, 510, 60}, {237, 129, 47},
    {238, 534, 176}, {239, 545, 176}, {240, 129, 112}, {241, 170, 112}, {242, 178, 112}, {243, 50, 144},
};

const std::vector<LineDef> kJoraLines = {
    {0, 0, 1}, {1, 1, 2}, {2, 3, 4}, {3, 4, 5}, {4, 5, 6}, {5, 1, 8}, {6, 8, 7}, {7, 7, 9},
    {8, 9, 10}, {9, 11, 14}, {10, 15, 12}, {11, 13, 30}, {12, 31, 16}, {13, 16, 17}, {14, 20, 21}, {15, 21, 22},
    {16, 21, 23}, {17, 23, 26}, {18, 27, 26}, {19, 27, 28}, {20, 28, 29}, {21, 29, 32}, {22, 32, 45}, {23, 46, 33},
    {24, 34, 18}, {25, 19, 35}, {26, 35, 36}, {27, 25, 37}, {28, 35, 37}, {29, 38, 24}, {30, 39, 38}, {31, 38, 40},
    {32, 40, 41}, {33, 41, 42}, {34, 43, 42}, {35, 44, 52}, {36, 47, 56}, {37, 53, 48}, {38, 48, 49}, {39, 59, 50},
    {40, 61, 51}, {41, 54, 55}, {42, 55, 65}, {43, 66, 57}, {44, 60, 62}, {45, 62, 74}, {46, 75, 63}, {47, 64, 79},
    {48, 80, 67}, {49, 67, 68}, {50, 69, 84}, {51, 85, 72}, {52, 72, 73}, {53, 73, 76}, {54, 71, 77}, {55, 78, 81},
    {56, 81, 82}, {57, 82, 109}, {58, 83, 70}, {59, 86, 87}, {60, 87, 88}, {61, 88, 92}, {62, 93, 94}, {63, 95, 89},
    {64, 97, 90}, {65, 91, 96}, {66, 98, 99}, {67, 102, 100}, {68, 104, 103}, {69, 105, 101}, {70, 106, 107}, {71, 108, 111},
    {72, 110, 112}, {73, 113, 114}, {74, 117, 115}, {75, 118, 116}, {76, 119, 106}, {77, 120, 119}, {78, 121, 118}, {79, 124, 150},
    {80, 151, 125}, {81, 128, 154}, {82, 155, 129}, {83, 129, 130}, {84, 133, 134}, {85, 134, 160}, {86, 134, 137}, {87, 161, 138},
    {88, 129, 138}, {89, 137, 139}, {90, 142, 166}, {91, 167, 143}, {92, 143, 144}, {93, 144, 145}, {94, 139, 146}, {95, 147, 148},
    {96, 148, 149}, {97, 148, 152}, {98, 152, 153}, {99, 153, 156}, {100, 156, 157}, {101, 157, 158}, {102, 158, 159}, {103, 159, 188},
    {104, 189, 162}, {105, 163, 162}, {106, 164, 195}, {107, 196, 165}, {108, 168, 199}, {109, 169, 201}, {110, 170, 202}, {111, 204, 171},
    {112, 165, 172}, {113, 210, 173}, {114, 208, 174}, {115, 175, 176}, {116, 177, 214}, {117, 215, 178}, {118, 179, 218}, {119, 219, 180},
    {120, 181, 180}, {121, 49, 182}, {122, 182, 183}, {123, 183, 58}, {124, 184, 185}, {125, 186, 185}, {126, 172, 187}, {127, 187, 190},
    {128, 190, 206}, {129, 226, 191}, {130, 191, 192}, {131, 193, 192}, {132, 194, 197}, {133, 197, 184}, {134, 197, 225}, {135, 198, 200},
    {136, 203, 131}, {137, 205, 126}, {138, 127, 209}, {139, 211, 205}, {140, 132, 212}, {141, 213, 216}, {142, 216, 135}, {143, 217, 136},
    {144, 220, 140}, {145, 141, 221}, {146, 221, 222}, {147, 177, 223}, {148, 55, 179}, {149, 176, 177}, {150, 223, 238}, {151, 224, 239},
    {152, 122, 227}, {153, 228, 121}, {154, 123, 229}, {155, 230, 229}, {156, 231, 222},
};

const std::vector<SwitchDef> kJoraSwitches = {
    {0, 14, 15}, {1, 18, 19}, {2, 24, 25}, {3, 150, 151}, {4, 154, 155}, {5, 160, 161},
    {6, 2, 3}, {7, 45, 46}, {8, 65, 66}, {9, 238, 239}, {10, 214, 215}, {11, 218, 219},
    {12, 188, 189}, {13, 225, 226}, {14, 74, 75}, {15, 79, 80}, {16, 84, 85}, {17, 70, 71},
    {18, 122, 123}, {19, 126, 127}, {20, 131, 132}, {21, 135, 136}, {22, 92, 93}, {23, 147, 148},
    {24, 109, 110}, {25, 116, 117}, {26, 141, 140}, {27, 30, 31}, {28, 166, 167},
};

const std::vector<DPSTDef> kJoraDPST = {
    {0, 204, 201, 202}, {1, 53, 52, 56}, {2, 196, 195, 199}, {3, 58, 59, 61},
    {4, 207, 208, 210}, {5, 94, 95, 97}, {6, 101, 102, 104},
};

const std::vector<GroupDef> kJoraGroups = {
    {0, -1, {0, 1, 5, 6}},          {2, 6, {2, 3, 4}},
    {10, -1, {7, 8}},               {13, -1, {9}},
    {14, 0, {10}},                  {17, -1, {24}},
    {18, 1, {25, 26}},              {22, -1, {30, 29, 31, 32}},
    {24, 2, {26, 27, 28}},          {29, 27, {11, 12}},
    {33, -1, {13}},                 {35, -1, {33, 34}},
    {38, -1, {14, 15, 16, 17, 18, 19, 20, 136}},
    {45, 7, {21, 22, 23}},          {51, -1, {35}},
    {53, -1, {37, 38}},             {55, -1, {36}},
    {59, -1, {39}},                 {61, -1, {40}},
    {63, -1, {41, 42, 148, 118, 47, 139}},
    {65, 8, {43}},                  {68, -1, {55, 56, 57, 58, 141}},
    {70, 17, {54}},                 {74, 14, {45, 46}},
    {79, 15, {48, 49}},             {84, 16, {51, 52, 53}},
    {89, -1, {59, 60, 61, 156, 146, 145}},
    {92, 22, {62}},                 {95, -1, {63}},
    {97, -1, {64}},                 {99, -1, {65}},
    {102, -1, {67}},                {104, -1, {68}},
    {106, -1, {66}},                {109, 24, {72}},
    {112, -1, {71}},                {114, -1, {78, 75, 152, 153}},
    {116, 25, {74}},                {119, -1, {73}},
    {122, 18, {154, 155}},          {126, 19, {137, 138}},
    {131, 20, {140}},               {135, 21, {142, 143}},
    {141, 26, {144}},               {144, -1, {77, 76, 70}},
    {147, 23, {69}},                {149, -1, {79}},
    {150, 3, {80}},                 {153, -1, {81}},
    {154, 4, {82, 83}},             {158, -1, {84, 85, 86, 89}},
    {160, 5, {87, 88, 83}},         {165, 28, {90, 91}},
    {169, -1, {92, 93}},            {172, -1, {94}},
    {174, -1, {121, 122, 123, 126, 127, 128}},
    {177, -1, {124, 125}},
    {180, -1, {95, 96, 97, 98, 99, 100, 101, 102, 44}},
    {188, 12, {103, 104, 105}},     {194, -1, {106}},
    {196, -1, {107, 112}},          {198, -1, {108}},
    {200, -1, {109}},               {202, -1, {110}},
    {208, -1, {114}},               {210, -1, {113}},
    {212, -1, {115, 116, 147, 149, 50}},
    {214, 10, {117}},               {218, 11, {119, 120}},
    {225, 13, {129, 130, 131}},     {231, -1, {132, 133, 134}},
    {235, -1, {135}},               {238, 9, {150, 151}},
    {243, -1, {111}},
};

const PathMap kJoraMap = {kJoraDots, kJoraLines, kJoraSwitches, kJoraDPST, kJoraGroups};

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kJoraArt = {
    // inputs
    {Art::Pin, 50, 47, 0, 0, nullptr},   {Art::Text, 2, 40, 44, 14, "AUXL"},
    {Art::Pin, 50, 144, 0, 0, nullptr},  {Art::Text, 2, 137, 44, 14, "LIN"},
    {Art::Pin, 50, 165, 0, 0, nullptr},  {Art::Text, 2, 158, 44, 14, "LIP"},
    {Art::Pin, 50, 187, 0, 0, nullptr},  {Art::Text, 2, 180, 44, 14, "L2"},
    {Art::Pin, 50, 258, 0, 0, nullptr},  {Art::Text, 2, 251, 44, 14, "RIN"},
    {Art::Pin, 50, 278, 0, 0, nullptr},  {Art::Text, 2, 271, 44, 14, "RIP"},
    {Art::Pin, 50, 300, 0, 0, nullptr},  {Art::Text, 2, 293, 44, 14, "R2"},
    {Art::Pin, 50, 463, 0, 0, nullptr},  {Art::Text, 2, 456, 44, 14, "AUXR"},
    // input PGAs and boost stages
    {Art::Amp, 100, 130, 40, 50, nullptr}, {Art::Text, 96, 182, 44, 14, "PGA"},
    {Art::Amp, 100, 243, 40, 50, nullptr}, {Art::Text, 96, 228, 44, 14, "PGA"},
    {Art::Block, 190, 100, 51, 125, "BOOST"},
    {Art::Block, 190, 250, 51, 100, "BOOST"},
    {Art::Text, 290, 73, 60, 14, "BYP L"},
    {Art::Text, 290, 405, 60, 14, "BYP R"},
    // converters, digital filters and the EQ
    {Art::Block, 265, 138, 55, 34, "ADC"},
    {Art::Block, 265, 293, 55, 34, "ADC"},
    {Art::Block, 356, 110, 52, 240, nullptr},
    {Art::Text, 356, 114, 52, 14, "DIGITAL"},
    {Art::Text, 348, 214, 30, 14, "ADC"},
    {Art::Text, 385, 214, 30, 14, "DAC"},
    {Art::Block, 364, 280, 34, 18, "EQ"},
    {Art::Block, 440, 138, 60, 34, "DAC"},
    {Art::Block, 440, 293, 60, 34, "DAC"},
    // main mixers and the sources of the AUX mixer inputs
    {Art::Block, 552, 40, 34, 155, "MIX L"},
    {Art::Block, 552, 300, 34, 170, "MIX R"},
    {Art::Text, 587, 52, 40, 14, "BYP R"},
    {Art::Text, 587, 84, 40, 14, "DAC L"},
    {Art::Text, 587, 117, 40, 14, "DAC R"},
    {Art::Text, 587, 148, 40, 14, "MIX L"},
    {Art::Text, 587, 179, 40, 14, "MIX R"},
    {Art::Text, 587, 372, 40, 14, "DAC L"},
    {Art::Text, 587, 403, 40, 14, "BYP L"},
    {Art::Text, 587, 434, 40, 14, "MIX L"},
    {Art::Block, 680, 45, 40, 155, "AUX1"},
    {Art::Block, 680, 386, 50, 70, "AUX2"},
    // outputs: the x1.5 and x1 throws join at the pin
    {Art::Line, 870, 82, 0, 11, nullptr},  {Art::Line, 870, 88, 16, 0, nullptr},
    {Art::Pin, 889, 88, 0, 0, nullptr},    {Art::Text, 868, 64, 37, 14, "OUT4"},
    {Art::Line, 870, 150, 0, 11, nullptr}, {Art::Line, 870, 156, 16, 0, nullptr},
    {Art::Pin, 889, 156, 0, 0, nullptr},   {Art::Text, 868, 132, 37, 14, "OUT3"},
    {Art::Pin, 889, 252, 0, 0, nullptr},   {Art::Text, 868, 232, 37, 14, "HP-"},
    {Art::Pin, 889, 321, 0, 0, nullptr},   {Art::Text, 868, 301, 37, 14, "HP+"},
    // pins without a path
    {Art::Pin, 889, 200, 0, 0, nullptr},   {Art::Text, 830, 193, 28, 14, "nc"},
    {Art::Pin, 889, 215, 0, 0, nullptr},   {Art::Text, 830, 208, 28, 14, "nc"},
    {Art::Pin, 889, 370, 0, 0, nullptr},   {Art::Text, 830, 363, 28, 14, "nc"},
    {Art::Pin, 889, 385, 0, 0, nullptr},   {Art::Text, 830, 378, 28, 14, "nc"},
    {Art::Pin, 889, 400, 0, 0, nullptr},   {Art::Text, 830, 393, 28, 14, "nc"},
    // references and clock
    {Art::Block, 20, 495, 62, 22, "MICBIAS"},
    {Art::Block, 110, 495, 62, 22, "VREF"},
    {Art::Block, 200, 495, 62, 22, "PLL"},
};

// ---- group rules and panel refresh -------------------------------------------------------
// The group update in its order; groups 0, 13, 17, 22, 99, 106, 112, 119, 149, 153, 158, 174,
// 231, 235 and 243 keep their start state (group 0 also its clicked state).
const std::vector<GroupRule> kJoraGroupRules = {
    {2, Bit(50, 5)},
    {10, Field(47, 0x007) && Bit(2, 4)},
    {14, Bit(44, 1)},
    {18, Bit(44, 0)},
    {24, Bit(44, 2)},
    {29, Bit(2, 2)},
    {33, Bit(2, 2)},
    {35, Field(47, 0x070) && Bit(2, 4)},
    {38, Always()},
    {45, Bit(50, 1)},
    {51, BitClear(14, 0)},
    {53, Bit(2, 0)},
    {55, Bit(14, 0)},
    {59, BitClear(10, 0)},
    {61, Bit(10, 0)},
    {63, Bit(3, 0)},
    {65, Bit(50, 0)},
    {68, Bit(3, 2)},
    {70, Bit(57, 4)},
    {74, Bit(57, 2)},
    {79, Bit(57, 3)},
    {84, Bit(57, 0)},
    {89, Bit(1, 7)},
    {92, Bit(3, 8)},
    {95, Bit(49, 4)},
    {97, BitClear(49, 4)},
    {102, Bit(49, 3)},
    {104, BitClear(49, 3)},
    {109, Bit(2, 7)},
    {114, Bit(3, 3)},
    {116, Bit(2, 8)},
    {122, Bit(57, 1)},
    {126, Bit(56, 2)},
    {131, Bit(56, 0)},
    {135, Bit(56, 1)},
    {141, Bit(56, 3)},
    {144, Bit(1, 6)},
    {147, Bit(3, 7)},
    {150, Bit(44, 5)},
    {154, Bit(44, 4)},
    {160, Bit(44, 6)},
    {165, Bit(2, 3)},
    {169, Bit(2, 3)},
    {172, Field(48, 0x070) && Bit(2, 5)},
    {177, Field(48, 0x007) && Bit(2, 5)},
    {180, Always()},
    {188, Bit(51, 1)},
    {194, BitClear(14, 1)},
    {196, Bit(2, 1)},
    {198, Bit(14, 1)},
    {200, BitClear(18, 8)},
    {202, Bit(18, 8)},
    {208, BitClear(10, 1)},
    {210, Bit(10, 1)},
    {212, Bit(3, 1)},
    {214, Bit(51, 0)},
    {218, Bit(49, 6)},
    {225, Bit(51, 5)},
    {238, Bit(49, 5)},
};

// Double-throw switches: state 1 puts the blade on throw 1; the OUT4 and OUT3 gain switches
// sit on throw 1 (x1) while their x1.5 bit is clear.
const std::vector<StateRule> kJoraDPSTStates = {
    {0, Bit(18, 8)}, {1, Bit(14, 0)}, {2, Bit(14, 1)}, {3, Bit(10, 0)},
    {4, Bit(10, 1)}, {5, BitClear(49, 4)}, {6, BitClear(49, 3)},
};

const std::vector<RingValue> kJoraRingValues = {
    {CFGPATHJora_RLAUXBOOST, 47, 0x007, {}},
    {CFGPATHJora_RLPGABOOST, 47, 0x100, {}},
    {CFGPATHJora_RL2BOOST, 47, 0x070, {}},
    {CFGPATHJora_RRAUXBOOST, 48, 0x007, {}},
    {CFGPATHJora_RRPGABOOST, 48, 0x100, {}},
    {CFGPATHJora_RR2BOOST, 48, 0x070, {}},
    {CFGPATHJora_STADCVOLL, 15, 0x0FF, {}},
    {CFGPATHJora_STADCVOLR, 16, 0x0FF, {}},
    {CFGPATHJora_STDACVOLL, 11, 0x0FF, {}},
    {CFGPATHJora_STDACVOLR, 12, 0x0FF, {}},
    {CFGPATHJora_RLAUXMIX, 50, 0x1C0, Bit(50, 5)},
    {CFGPATHJora_RLBYPMIX, 50, 0x01C, Bit(50, 1)},
    {CFGPATHJora_RRAUXMIX, 51, 0x1C0, Bit(51, 5)},
    {CFGPATHJora_RRBYPMIX, 51, 0x01C, Bit(51, 1)},
    {CFGPATHJora_RHPN, 52, 0x03F, {}},
    {CFGPATHJora_RHPP, 53, 0x03F, {}},
    {CFGPATHJora_STSPKN, 54, 0x03F, {}},
    {CFGPATHJora_STSPKP, 55, 0x03F, {}},
    {CFGPATHJora_RRAUXBEEP, 43, 0x00E, {}},
    {CFGPATHJora_RLPGA, 45, 0x03F, {}},
    {CFGPATHJora_RRPGA, 46, 0x03F, {}},
};

const std::vector<ShowRule> kJoraShown = {
    {CFGPATHJora_EQADCTextJora, BitClear(18, 8)},
    {CFGPATHJora_EQDACTextJora, Bit(18, 8)},
    {CFGPATHJora_STOUT4DisableIcon, BitClear(3, 8)},
    {CFGPATHJora_STOUT3DisableIcon, BitClear(3, 7)},
    {CFGPATHJora_STHPNDisableIcon, BitClear(2, 7)},
    {CFGPATHJora_STHPPDisableIcon, BitClear(2, 8)},
    {CFGPATHJora_STPGAENLDisenIcon, BitClear(2, 2)},
    {CFGPATHJora_STPGAENRDisenIcon, BitClear(2, 3)},
    {CFGPATHJora_STLMIXDisenIcon, BitClear(3, 2)},
    {CFGPATHJora_STRMIXDisenIcon, BitClear(3, 3)},
    {CFGPATHJora_STAUX1MXDisenIcon, BitClear(1, 7)},
    {CFGPATHJora_STAUX2MXDisenIcon, BitClear(1, 6)},
    {CFGPATHJora_STPLLDisenIcon, BitClear(1, 5)},
    {CFGPATHJora_STVREFDisenIcon, FieldZero(1, 0x003)},
    {CFGPATHJora_STMICBIASDisenIcon, BitClear(1, 4)},
    {CFGPATHJora_STBoostLDisableIcon, BitClear(2, 4)},
    {CFGPATHJora_STBoostRDisableIcon, BitClear(2, 5)},
    {CFGPATHJora_STPGALEnableIcon, BitClear(45, 6)},
    {CFGPATHJora_STPGALDisableIcon, Bit(45, 6)},
    {CFGPATHJora_STPGAREnableIcon, BitClear(46, 6)},
    {CFGPATHJora_STPGARDisableIcon, Bit(46, 6)},
    {CFGPATHJora_STOut3BoostEnIcon, BitClear(49, 3)},
    {CFGPATHJora_STOut3BoostDisenIcon, Bit(49, 3)},
    {CFGPATHJora_STOut4BoostEnIcon, BitClear(49, 4)},
    {CFGPATHJora_STOut4BoostDisenIcon, Bit(49, 4)},
    {CFGPATHJora_STOut4MuteDisenIcon, BitClear(57, 6)},
    {CFGPATHJora_STOut4MuteEnIcon, Bit(57, 6)},
    {CFGPATHJora_STOut3MuteDisenIcon, BitClear(56, 6)},
    {CFGPATHJora_STOut3MuteEnIcon, Bit(56, 6)},
    {CFGPATHJora_STLout1MuteDisenIcon, BitClear(52, 6)},
    {CFGPATHJora_STLout1MuteEnIcon, Bit(52, 6)},
    {CFGPATHJora_STRout1MuteDisenIcon, BitClear(53, 6)},
    {CFGPATHJora_STRout1MuteEnIcon, Bit(53, 6)},
    {CFGPATHJora_STADCENLDisenIcon, BitClear(2, 0)},
    {CFGPATHJora_STADCENRDisenIcon, BitClear(2, 1)},
    {CFGPATHJora_STDACENLDisenIcon, BitClear(3, 0)},
    {CFGPATHJora_STDACENRDisenIcon, BitClear(3, 1)},
};

// ---- clicks ------------------------------------------------------------------------------
// Switches toggle the bit that lights their group, but the four output switches toggle the
// output's mute. A wire toggles the bit that lights its own group (or its group, for the
// AUXL input wires); wires of an always-on or compound group have no row.
const std::vector<ClickRow> kJoraClicks = {
    {Hit::Switch, {0}, Toggle(44, 0x002)},
    {Hit::Switch, {1}, Toggle(44, 0x001)},
    {Hit::Switch, {2}, Toggle(44, 0x004)},
    {Hit::Switch, {3}, Toggle(44, 0x020)},
    {Hit::Switch, {4}, Toggle(44, 0x010)},
    {Hit::Switch, {5}, Toggle(44, 0x040)},
    {Hit::Switch, {6}, Toggle(50, 0x020)},
    {Hit::Switch, {7}, Toggle(50, 0x002)},
    {Hit::Switch, {8}, Toggle(50, 0x001)},
    {Hit::Switch, {9}, Toggle(49, 0x020, 0x002)},
    {Hit::Switch, {10}, Toggle(51, 0x001)},
    {Hit::Switch, {11}, Toggle(49, 0x040, 0x002)},
    {Hit::Switch, {12}, Toggle(51, 0x002)},
    {Hit::Switch, {13}, Toggle(51, 0x020)},
    {Hit::Switch, {14}, Toggle(57, 0x004)},
    {Hit::Switch, {15}, Toggle(57, 0x008)},
    {Hit::Switch, {16}, Toggle(57, 0x001)},
    {Hit::Switch, {17}, Toggle(57, 0x010)},
    {Hit::Switch, {18}, Toggle(57, 0x002)},
    {Hit::Switch, {19}, Toggle(56, 0x004)},
    {Hit::Switch, {20}, Toggle(56, 0x001)},
    {Hit::Switch, {21}, Toggle(56, 0x002)},
    {Hit::Switch, {22}, Toggle(57, 0x040)},
    {Hit::Switch, {23}, Toggle(56, 0x040)},
    {Hit::Switch, {24}, Toggle(52, 0x040)},
    {Hit::Switch, {25}, Toggle(53, 0x040)},
    {Hit::Switch, {26}, Toggle(56, 0x008)},
    {Hit::Switch, {27}, Toggle(2, 0x004)},
    {Hit::Switch, {28}, Toggle(2, 0x008)},
    {Hit::DPST, {0}, ToggleDPST(18, 0x100, 0)},
    {Hit::DPST, {1}, ToggleDPST(14, 0x001, 1)},
    {Hit::DPST, {2}, ToggleDPST(14, 0x002, 2)},
    {Hit::DPST, {3}, ToggleDPST(10, 0x001, 3)},
    {Hit::DPST, {4}, ToggleDPST(10, 0x002, 4)},
    {Hit::DPST, {5}, ToggleDPST(49, 0x010, 5, true)},
    {Hit::DPST, {6}, ToggleDPST(49, 0x008, 6, true)},
    {Hit::Segment, {0, 1, 6}, ToggleGroup(0)},
    {Hit::Segment, {38}, Toggle(2, 0x001)},
    {Hit::Segment, {40}, Toggle(10, 0x001)},
    {Hit::Segment, {41}, Toggle(3, 0x001)},
    {Hit::Segment, {46}, Toggle(57, 0x004)},
    {Hit::Segment, {60, 61}, Toggle(1, 0x080)},
    {Hit::Segment, {64}, Toggle(49, 0x010)},
    {Hit::Segment, {76, 77}, Toggle(1, 0x040)},
    {Hit::Segment, {78}, Toggle(3, 0x008)},
    {Hit::Segment, {87, 88}, Toggle(44, 0x040)},
    {Hit::Segment, {90}, Toggle(2, 0x008)},
    {Hit::Segment, {104}, Toggle(51, 0x002)},
    {Hit::Segment, {116}, Toggle(3, 0x002)},
    {Hit::Segment, {118}, Toggle(3, 0x001)},
    {Hit::Segment, {119}, Toggle(49, 0x040, 0x002)},
};

// ---- rings, tool tips and callbacks ------------------------------------------------------
const std::vector<RingFill> kJoraRingFills = {
    {{CFGPATHJora_RLPGA}, {{"Disable LPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHJora_RRPGA}, {{"Disable RPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHJora_RLAUXBOOST, CFGPATHJora_RL2BOOST, CFGPATHJora_RRAUXBOOST, CFGPATHJora_RR2BOOST}, {{"Path not selected", 0}}, kBoostSteps, {}},
    {{CFGPATHJora_RLPGABOOST, CFGPATHJora_RRPGABOOST}, {{"+0dB", 0}, {"+20dB", 1}}, {}, {}},
    {{CFGPATHJora_RLAUXMIX, CFGPATHJora_RRAUXMIX, CFGPATHJora_RLBYPMIX, CFGPATHJora_RRBYPMIX}, {{"Not Selected", -1}}, kMixSteps, {}},
    {{CFGPATHJora_RHPN, CFGPATHJora_RHPP, CFGPATHJora_STSPKN, CFGPATHJora_STSPKP}, {}, kOutSteps, {}},
    {{CFGPATHJora_RRAUXBEEP}, {}, kMixSteps, {}},
    {{CFGPATHJora_STADCVOLL, CFGPATHJora_STADCVOLR, CFGPATHJora_STDACVOLL, CFGPATHJora_STDACVOLR}, {{"Digital Mute", 0}}, kDigitalSteps, {}},
};

const std::vector<ToolTip> kJoraToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {CFGPATHJora_STBoostLDisableIcon}, "Left channel Boost stage disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STBoostRDisableIcon}, "Right channel Boost stage disbled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STOut4MuteDisenIcon, CFGPATHJora_STOut3MuteDisenIcon, CFGPATHJora_STLout1MuteDisenIcon, CFGPATHJora_STRout1MuteDisenIcon},
     "Output Unmuted. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STOut4MuteEnIcon, CFGPATHJora_STOut3MuteEnIcon, CFGPATHJora_STLout1MuteEnIcon, CFGPATHJora_STRout1MuteEnIcon},
     "Output Muted. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STOUT4DisableIcon, CFGPATHJora_STOUT3DisableIcon, CFGPATHJora_STHPNDisableIcon, CFGPATHJora_STHPPDisableIcon},
     "Output Disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STPGAENLDisenIcon}, "Left Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJora_STPGAENRDisenIcon}, "Right Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJora_STADCENLDisenIcon}, "Left Channel ADC Disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STADCENRDisenIcon}, "Right Channel ADC Disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STDACENLDisenIcon}, "Left Channel DAC Disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STDACENRDisenIcon}, "Right Channel DAC Disabled. To enable it, click Device Control tab"},
    {false, {CFGPATHJora_STLMIXDisenIcon}, "Left Channel Main mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJora_STRMIXDisenIcon}, "Right Channel Main Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJora_STAUX1MXDisenIcon}, "Aux1Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJora_STAUX2MXDisenIcon}, "Aux2Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJora_STVREFDisenIcon}, "VREF circuit is open, you can enable it in Device Control tab."},
    {false, {CFGPATHJora_STMICBIASDisenIcon}, "MICBIAS Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJora_STPLLDisenIcon}, "PLL Disabled, you can enable it in Device Control or PLL tab."},
};

// The mixer rings light or darken the Jora group of their path at once.
const std::vector<ControlRow> kJoraControls = {
    PgaRow("RLPGACBJora", 45, 2, 0x004),
    PgaRow("RRPGACBJora", 46, 2, 0x008),
    FieldRow("RLAUXBOOSTCBJora", 47, 0x007),
    FieldRow("RL2BOOSTCBJora", 47, 0x070),
    FieldRow("RLPGABOOSTCBJora", 47, 0x100),
    FieldRow("RRAUXBOOSTCBJora", 48, 0x007),
    FieldRow("RR2BOOSTCBJora", 48, 0x070),
    FieldRow("RRPGABOOSTCBJora", 48, 0x100),
    GatedRow("RLAUXMIXCBJora", 50, 0x1C0, 0x020, 2),
    GatedRow("RLBYPMIXCBJora", 50, 0x01C, 0x002, 45),
    GatedRow("RRBYPMIXCBJora", 51, 0x01C, 0x002, 188),
    GatedRow("RRAUXMIXCBJora", 51, 0x1C0, 0x020, 225),
    FieldRow("RHPNCBJora", 52, 0x03F, &STLout1CurrentVOL),
    FieldRow("RHPPCBJora", 53, 0x03F, &STRout1CurrentVOL),
    FieldRow("STSPKNCBJora", 54, 0x03F, &STLout2CurrentVOL),
    FieldRow("STSPKPCBJora", 55, 0x03F, &STRout2CurrentVOL),
    FieldRow("RRAUXBEEPCBJora", 43, 0x00E),
    VolumeRow("STDACVOLXCBJora", CFGPATHJora_STDACVOLL, 11),
    VolumeRow("STDACVOLXCBJora", CFGPATHJora_STDACVOLR, 12),
    VolumeRow("STADCVOLXCBJora", CFGPATHJora_STADCVOLL, 15),
    VolumeRow("STADCVOLXCBJora", CFGPATHJora_STADCVOLR, 16),
    IconRow("STOut4MuteDisenIconCBJora", 57, 0x040, true),
    IconRow("STOut4MuteEnIconCBJora", 57, 0x040, false),
    IconRow("STOut3MuteDisenIconCBJora", 56, 0x040, true),
    IconRow("STOut3MuteEnIconCBJora", 56, 0x040, false),
    IconRow("STLout1MuteDisenIconCBJora", 52, 0x040, true),
    IconRow("STLout1MuteEnIconCBJora", 52, 0x040, false),
    IconRow("STRout1MuteDisenIconCBJora", 53, 0x040, true),
    IconRow("STRout1MuteEnIconCBJora", 53, 0x040, false),
    IconRow("STPGALEnableIconCBJora", 45, 0x040, true, 0x100),
    IconRow("STPGALDisableIconCBJora", 45, 0x040, false, 0x100),
    IconRow("STPGAREnableIconCBJora", 46, 0x040, true, 0x100),
    IconRow("STPGARDisableIconCBJora", 46, 0x040, false, 0x100),
};

PathModel MakeJora() {
    PathModel m{.name = "Jora", .tables = SharedPathTables, .panel = &PHdlPathJora, .canvas = CFGPATHJora_CVSCONFIG};
    m.standingSwitches = true;
    m.map = &kJoraMap;
    m.art = kJoraArt;
    m.startLit = {0, 13, 17, 22, 149, 153, 158, 174, 231, 243, 38, 180};
    m.groupRules = kJoraGroupRules;
    m.dpstStates = kJoraDPSTStates;
    m.ringValues = kJoraRingValues;
    m.texts = {VRefText(CFGPATHJora_VRefTextJora)};
    m.shown = kJoraShown;
    m.clicks = kJoraClicks;
    m.ringFills = kJoraRingFills;
    m.toolTips = kJoraToolTips;
    m.controls = kJoraControls;
    return m;
}

}  // namespace

const PathModel& JoraPathModel() {
    static const PathModel model = MakeJora();
    return model;
}

}  // namespace pathview
