#include "pile_csv.h"
#include "pile_json_writer.h"
#include "sample_piles.h"

#include <gtest/gtest.h>

namespace {

TEST(PileJsonWriter, WritesEveryKeyTextsAsTheyStandAndItemsByText)
{
    TPileInput pile;
    pile.sectionType = TSectionType::Square;
    pile.d = "1200.0";
    pile.c = "";
    pile.soilLayers.clear();
    pile.rockLayers[0].frk = "25,5";
    pile.boredPile = false;
    pile.load = "8000";
    pile.gammaR = "1.25";
    EXPECT_EQ(PilesToJsonText({TPileInput(), pile}), R"([
  {
    "section": "圆桩",
    "d": "1000",
    "c": "0",
    "soil": [
      {
        "li": "5.00",
        "qik": "200.00"
      }
    ],
    "rock": [
      {
        "hi": "1.00",
        "weathering": "中风化",
        "grade": "较完整",
        "kv": "0.75",
        "frk": "25.00",
        "c1": "0.50",
        "c2": "0.04"
      }
    ],
    "coefMode": "程序自动插值",
    "basis": "岩体完整程度",
    "boredPile": true,
    "rounding": "个位取整",
    "load": "",
    "gammaR": "1.0"
  },
  {
    "section": "矩形桩",
    "d": "1200.0",
    "c": "",
    "soil": [],
    "rock": [
      {
        "hi": "1.00",
        "weathering": "中风化",
        "grade": "较完整",
        "kv": "0.75",
        "frk": "25,5",
        "c1": "0.50",
        "c2": "0.04"
      }
    ],
    "coefMode": "程序自动插值",
    "basis": "岩体完整程度",
    "boredPile": false,
    "rounding": "个位取整",
    "load": "8000",
    "gammaR": "1.25"
  }
]
)");
    EXPECT_EQ(PilesToJsonText({}), "[]\n");
}

TEST(PileJsonWriter, JsonThroughCsvComesBackIdentical)
{
    const std::string json = PilesToJsonText(SamplePiles());
    EXPECT_EQ(PilesToJsonText(PilesFromCsv(PilesToCsv(SamplePiles()))), json);
}

} // namespace
