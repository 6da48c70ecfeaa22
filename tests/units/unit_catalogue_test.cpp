// The unit catalogue: the rows of every category, conversion texts,
// exponent expansion and conversions whose exact value is known.
#include "units/unit_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

std::string Joined(const UnitList& list) {
  std::string out;
  for (const auto& row : list) {
    if (!out.empty()) out += '|';
    out += row.name + "=" + row.factor;
  }
  return out;
}

TEST(UnitCatalogueTest, EveryCategoryHoldsItsListing) {
  struct Listing {
    const char* category;
    std::size_t rows;
    const char* text;
  };
  const Listing listings[] = {
      {"area", 15,
       "acre=4046.8564224|circular inches=0.000506707479|hectare=10000|rood=1011.7141056|square "
       "centimeter=0.0001|square foot(US,UK)=0.09290304|square inch=0.00064516|square "
       "jard=0.83612736|square kilometer=1000000|square meter=1|square mile=2589988.110336|square "
       "millimeter=0.000001|square nanometer=0.000000000000000001|square "
       "rod(pod)=25.29285264|squares(of timber)=9.290304"},
      {"length", 30,
       "angstroms=0.0000000001|astronomical "
       "unit=149598550000|barleycorn=0.008467|centimetre=0.01|chain(survey)=20.1168|cubit(English)="
       "0.4572|em(pica)=0.0042333|fathom=1.8288|foot(UK and US)=0.3048|foot(US "
       "survey)=0.3048006096|furlong=201.168|hand=0.1016|inch=0.0254|kilometre=1000|league("
       "international,nautical)=5556|league(UK,nautical)=5559.552|light "
       "year=9454254955488000|link(survey)=0.201168|metre=1|micron=0.000001|micrometre=0.000001|"
       "mile(international,UK,US)=1609.344|mile(nautical)=1852|parsec=30856770000000000|perch(rod "
       "or "
       "pole)=5.0292|pica(computer)=0.004233333|pica(printer)=0.004217518|point(computer)=0."
       "0003527778|point(printer)=0.0003514598|yard=0.9144"},
      {"mass", 12,
       "carat(metric)=0.0002|grain=0.00006479891|gram=0.001|hundredweight(long)=50.80234544|"
       "hundredweight(short)=45.359237|kilogram[kg]=1|ounce(avoirdupoi)=0.028349523125|ounce(troy)="
       "0.0311034768|pound=0.45359237|ton(UK or long)=1016.0469088|ton(US or "
       "short)=907.18474|ton(metric)=1000"},
      {"volume", 26,
       "barrel(oil)=158.987294928|bushel(UK)=36.36872|bushel(US)=35.23907016688|centilitre=0.01|"
       "cubic centimetre=0.001|cubic decimetre=1|cubic decametre=1000000|cubic "
       "foot=28.316846592|cubic inch=0.016387064|cubic metre=1000|cubic millimetre=0.000001|cubic "
       "yard=764.554857984|decilitre=0.1|fluid ounce(UK)=0.0284130625|fluid "
       "ounce(US)=0.0295735295625|gallon(UK)=4.54609|gallon,dry(US)=4.40488377086|gallon,liquid(US)"
       "=3.785411784|litre[l or "
       "L]=1|millilitre=0.001|pint(UK)=0.56826125|pint,dry(US)=0.5506104713575|pint,liquid(US)=0."
       "473176473|quart(UK)=1.1365225|quart,dry(US)=1.101220942715|quart,liquid(US)=0.946352946"},
      {"force", 12,
       "dyne=0.00001|kilogram "
       "force=9.80665|kilonewton[kN]=1000|kip=4448.222|meganewton[MN]=1000000|newton[N]=1|pound "
       "force=4.448222|poundal=0.138255|sthene(=kN)=1000|tonne force=9806.65|ton(UK) "
       "force=9964.016|ton(US) force=8896.443"},
      {"power", 21,
       "Btu/hour=0.293071|Btu/minute=17.584267|Btu/second=1055.056|calories/hour=0.001163|calories/"
       "minute=0.06978|calories/second=4.1868|ft lb-force/minute=0.022597|ft "
       "lb-force/"
       "second=1.35582|gigawatt[GW]=1000000000|horsepower(electric)=746|horsepower(metric)=735.499|"
       "joules/hour=1/3600|joules/minute=1/60|joules/second=1|kilocalorie/hour=1.163|kilocalorie/"
       "minute=69.78|kg-force metre/hour=0.002724|kg-force "
       "metre/minute=0.163444|kilowatt[kW]=1000|megawatt[MW]=1000000|watt[W]=1"},
      {"energy", 26,
       "British thermal unit(IT)=1055.056|British thermal unit(th)=1054.350|British thermal "
       "unit(mean)=1055.87|calorie-cal(IT)=4.1868|calorie-cal(th)=4.184|calorie-cal(mean)=4.19002|"
       "calorie-cal(15C)=4.18580|calorie-cal(20C)=4.18190|calorie(food)=4186|centigrade heat "
       "unit=1900.4|erg=1/10000000|foot pound-force=1.355818|foot "
       "poundal=0.042140|gigajoule[GJ]=1000000000|horsepower "
       "hour=2684520|joule[J]=1|kilocalorie(IT)=4186.8|kilocalorie(th)=4184|kilogram-force "
       "metre=9.80665|kilojoule[kJ]=1000|kilowatt hour[kWh]=3600000|megajoule[MJ]=1000000|newton "
       "metre[Nm]=1|therms=105500000|watt second[Ws]=1|watt hour[Wh]=3600"},
      {"time", 14,
       "day(24Hour)=24*60*60|hour=60*60|minute=60|millisecond=0.001|microsecond=0.000001|month("
       "28days)=28*24*60*60|month(29days)=29*24*60*60|month(30days)=30*24*60*60|month(31days)=31*"
       "24*60*60|nanosecond=0.000000001|second=1|week(7days)=7*24*60*60|year(365days)=365*24*60*60|"
       "year(366days)=366*24*60*60"},
      {"temperature", 2, "Celsius (C)=x*9/5+32|Fahrenheit (F)=(x-32)*5/9"},
      {"press", 31,
       "atmosphere=101325|bar=100000|centimetre of mercury=1333.22|centimetre of "
       "water=98.0665|foot of water=2989.06692|hectopascal[hPa]=100|inch of water=249.08891|inch "
       "of "
       "mercury=3386.388|kg-force/sq.centimetre=98066.5|kg-force/sq.metre=9.80665|kilonewton/"
       "sq.metre=1000|kilopascal [kPa]=1000|kip/sq.inch=6894760|meganewton/sq.metre=1000000|metre "
       "of water=9806.65|millibar=100|pascal [Pa]=1|millimetre of mercury=133.322|millimetre of "
       "water=9.80665|newton/sq.centimetre=10000|newton/sq.metre=1|newton/"
       "sq.millimetre=1000000|pound-force/sq.foot=47.880|pound-force/sq.inch=6894.757|poundal/"
       "sq.foot=1.44816|ton(UK)-force/sq.foot=107252|ton(UK)-force/sq.inch=15444256|ton(US)-force/"
       "sq.foot=95760|ton(US)-force/sq.inch=13789500|tonne-force/sq.cm=98066500|tonne-force/"
       "sq.metre=9806.65"},
      {"speed", 20,
       "centimetre/minute=1/6000|centimetre/second=0.01|foot/hour=1/11811|foot/minute=0.00508|foot/"
       "second=0.3048|inch/minute=1/2362.2|inch/second=0.0254|kilometre/hour=1/3.6|kilometre/"
       "second=1000|knot=0.514444|Mach "
       "number=331.5|metre/hour=1/3600|metre/minute=1/60|metre/second "
       "[m/s]=1|mile/hour=0.44704|mile/minute=26.8224|mile/second=1609.344|yard/hour=1/3937|yard/"
       "minute=0.01524|yard/second=0.9144"},
      {"prefixes", 20,
       "yotta=1000000000000000000000000|zetta=1000000000000000000000|exa=1000000000000000000|peta="
       "1000000000000000|tera=1000000000000|giga=1000000000|mega=1000000|kilo=1000|hecto=100|deca="
       "10|deci=0.1|centi=0.01|milli=0.001|micro=0.000001|nano=0.000000001|pico=0.000000000001|"
       "femto=0.000000000000001|atto=0.000000000000000001|zepto=0.000000000000000000001|yocto=0."
       "000000000000000000000001"},
  };
  for (const auto& listing : listings) {
    const UnitList units = CategoryUnits(listing.category);
    EXPECT_EQ(units.size(), listing.rows) << listing.category;
    EXPECT_EQ(Joined(units), listing.text) << listing.category;
  }
  EXPECT_EQ(CategoryUnits("currency"), CategoryUnits("prefixes"));
  for (const auto name : kUnitCategories) EXPECT_FALSE(CategoryUnits(name).empty()) << name;
}

TEST(UnitCatalogueTest, LoadUnitCategoryMatchesTrimmedLowerCaseNames) {
  EngineSettings settings;
  UnitEngine engine(settings);
  engine.LoadUnitCategory(" Length ");
  ASSERT_EQ(engine.units().size(), 30u);
  EXPECT_EQ(engine.units()[18].name, "metre");
  EXPECT_EQ(engine.units().back().name, "yard");
  for (const char* unknown : {"", "temperatures", "len gth", "lengths"}) {
    engine.LoadUnitCategory(unknown);
    EXPECT_TRUE(engine.units().empty()) << unknown;
  }
  engine.LoadUnitCategory("CURRENCY");
  EXPECT_EQ(engine.units().front().name, "yotta");
  EXPECT_EQ(engine.units().back().name, "yocto");
}

TEST(UnitCatalogueTest, ExpandExponents) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.5e3", "1500"},
      {"2E-4", "0.0002"},
      {"3e+2", "300"},
      {"*1.5e3+2E-4", "*1500+0.0002"},
      {"(x-3.2e1)*5/9", "(x-32)*5/9"},
      {"x*1e1", "x*10"},
      {"1/2.5E-1^2", "1/0.25^2"},
      {"0.0254", "0.0254"},
      {"24*60*60", "24*60*60"},
      {"exp(2)", "exp(2)"},    // a word, not a number
      {"1.2.3e4", "1.2.3e4"},  // not a number: left for the evaluation to refuse
      {"1e", "1e"},
      {"e5", "e5"},
      {"1e20000", "1e20000"},  // too long to write out
      {"-1e2-2e-1", "-100-0.2"},
  };
  for (const auto& [text, expanded] : cases) EXPECT_EQ(ExpandExponents(text), expanded) << text;
}

// Each "1e9999" grows by 9999 characters: about a hundred are written out,
// the rest stay as typed, and the text never grows past the bound.
TEST(UnitCatalogueTest, ExpandExponentsGrowsTheTextByABoundedAmount) {
  std::string text = "1e9999";
  for (int i = 0; i < 199; ++i) text += "*1e9999";
  const std::string expanded = ExpandExponents(text);
  EXPECT_LE(expanded.size(), text.size() + kMaxExpansionGrowth);
  EXPECT_GT(expanded.size(), text.size() + kMaxExpansionGrowth - 10000);
  EXPECT_TRUE(expanded.starts_with("1" + std::string(9999, '0') + "*"));
  EXPECT_TRUE(expanded.ends_with("*1e9999"));
}

TEST(UnitCatalogueTest, BuildConversionText) {
  const UnitRow inch{"inch", "0.0254"}, foot{"foot(UK and US)", "0.3048"};
  const UnitRow minute{"minute", "60"}, hour{"hour", "60*60"};
  const UnitRow custom{"custom", "1.5e3"};
  EXPECT_EQ(BuildConversionText("3", inch, foot), "3*(0.0254)/(0.3048)");
  EXPECT_EQ(BuildConversionText(" 1 ", inch, foot), "1*(0.0254)/(0.3048)");
  EXPECT_EQ(BuildConversionText("90", minute, hour), "90*(60)/(60*60)");
  EXPECT_EQ(BuildConversionText("-2", custom, inch), "(-2)*(1500)/(0.0254)");
  // An expression multiplies as a whole, never only its last number.
  EXPECT_EQ(BuildConversionText("2+3", minute, hour), "(2+3)*(60)/(60*60)");
  EXPECT_EQ(SubstituteFormula("(x-32)*5/9", "-40"), "((-40)-32)*5/9");
}

struct ConversionCase {
  const char* category;
  const char* value;
  const char* from;
  const char* to;
  const char* result;
};

class ConvertValueTest : public ::testing::Test {
 protected:
  std::optional<std::string> Convert(const ConversionCase& c) {
    engine.LoadUnitCategory(c.category);
    std::size_t from = engine.units().size(), to = from;
    for (std::size_t i = 0; i < engine.units().size(); ++i) {
      if (engine.units()[i].name == c.from) from = i;
      if (engine.units()[i].name == c.to) to = i;
    }
    EXPECT_LT(from, engine.units().size()) << c.from;
    EXPECT_LT(to, engine.units().size()) << c.to;
    return ValueOrReport(engine.ConvertValue(c.value, from, to), sink);
  }
  EngineSettings settings;
  RecordingSink sink;
  UnitEngine engine{settings};
};

TEST_F(ConvertValueTest, ExactConversions) {
  const ConversionCase cases[] = {
      {"length", "3", "inch", "foot(UK and US)", "0.25"},
      {"length", "1", "mile(international,UK,US)", "kilometre", "1.609344"},
      {"area", "1", "acre", "hectare", "0.4046856422"},  // 0.40468564224 rounded
      {"area", "1", "hectare", "square meter", "10000"},
      // Fractions as factors: no truncated intermediate shows through.
      {"speed", "1", "metre/second [m/s]", "kilometre/hour", "3.6"},
      {"speed", "36", "kilometre/hour", "metre/second [m/s]", "10"},
      {"speed", "1", "kilometre/hour", "kilometre/hour", "1"},
      {"power", "7200", "joules/hour", "watt[W]", "2"},
      {"time", "90", "minute", "hour", "1.5"},
      {"time", "1", "month(28days)", "second", "2419200"},
      {"time", "1", "month(29days)", "second", "2505600"},
      {"time", "1", "month(30days)", "second", "2592000"},
      {"time", "1", "month(31days)", "second", "2678400"},
      {"time", "2", "week(7days)", "day(24Hour)", "14"},
      {"mass", "1", "pound", "ounce(avoirdupoi)", "16"},
      {"volume", "1", "gallon(UK)", "pint(UK)", "8"},
      // A unit to itself: the value under the precision setting.
      {"length", "0.123456789012345", "inch", "inch", "0.123456789"},
      {"length", "-2.5", "metre", "centimetre", "-250"},
      {"prefixes", "1", "kilo", "milli", "1000000"},
      {"currency", "1", "yocto", "yotta", "0"},  // below the precision
      {"temperature", "100", "Celsius (C)", "Fahrenheit (F)", "212"},
      {"temperature", "-40", "Celsius (C)", "Fahrenheit (F)", "-40"},
      {"temperature", "98.6", "Fahrenheit (F)", "Celsius (C)", "37"},
      {"temperature", "0", "Fahrenheit (F)", "Celsius (C)", "-17.7777777778"},
      {"temperature", "25", "Celsius (C)", "Celsius (C)", "25"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Convert(c).value_or("failed"), c.result) << c.value << " " << c.from;
  }
  EXPECT_TRUE(sink.empty());
}

TEST_F(ConvertValueTest, PrecisionAndThresholdShapeTheResult) {
  settings.precision = 3;
  EXPECT_EQ(Convert({"length", "1", "foot(UK and US)", "inch", ""}), "12");
  EXPECT_EQ(Convert({"length", "2", "metre", "foot(UK and US)", ""}), "6.562");
  EXPECT_EQ(Convert({"prefixes", "1", "milli", "mega", ""}), "0");  // rounded before formatting
  settings.precision = 10;
  settings.exponentThreshold = 5;
  EXPECT_EQ(Convert({"prefixes", "1", "yotta", "kilo", ""}), "1E+21");
  EXPECT_EQ(Convert({"prefixes", "1", "milli", "kilo", ""}), "1E-6");
  EXPECT_EQ(Convert({"prefixes", "1", "milli", "deca", ""}), "0.0001");
}

TEST_F(ConvertValueTest, BadValuesAreReportedByTheEngine) {
  for (const char* value : {"1.2.3", ".", "", "5+"}) {
    sink.messages.clear();
    EXPECT_FALSE(Convert({"length", value, "inch", "metre", ""})) << value;
    EXPECT_FALSE(sink.empty()) << value;
  }
}

}  // namespace
}  // namespace calvoro
