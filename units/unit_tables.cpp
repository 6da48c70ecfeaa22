// The unit catalogue: every category's rows with their factor texts (the
// value of one unit in the category's base unit), exactly as displayed.
#include "units/unit_tables.h"

namespace calvoro::unit_tables {
namespace {

constexpr Row kArea[] = {
    {"acre", "4046.8564224"},
    {"circular inches", "0.000506707479"},
    {"hectare", "10000"},
    {"rood", "1011.7141056"},
    {"square centimeter", "0.0001"},
    {"square foot(US,UK)", "0.09290304"},
    {"square inch", "0.00064516"},
    {"square jard", "0.83612736"},
    {"square kilometer", "1000000"},
    {"square meter", "1"},
    {"square mile", "2589988.110336"},
    {"square millimeter", "0.000001"},
    {"square nanometer", "0.000000000000000001"},
    {"square rod(pod)", "25.29285264"},
    {"squares(of timber)", "9.290304"},
};

constexpr Row kLength[] = {
    {"angstroms", "0.0000000001"},
    {"astronomical unit", "149598550000"},
    {"barleycorn", "0.008467"},
    {"centimetre", "0.01"},
    {"chain(survey)", "20.1168"},
    {"cubit(English)", "0.4572"},
    {"em(pica)", "0.0042333"},
    {"fathom", "1.8288"},
    {"foot(UK and US)", "0.3048"},
    {"foot(US survey)", "0.3048006096"},
    {"furlong", "201.168"},
    {"hand", "0.1016"},
    {"inch", "0.0254"},
    {"kilometre", "1000"},
    {"league(international,nautical)", "5556"},
    {"league(UK,nautical)", "5559.552"},
    {"light year", "9454254955488000"},
    {"link(survey)", "0.201168"},
    {"metre", "1"},
    {"micron", "0.000001"},
    {"micrometre", "0.000001"},
    {"mile(international,UK,US)", "1609.344"},
    {"mile(nautical)", "1852"},
    {"parsec", "30856770000000000"},
    {"perch(rod or pole)", "5.0292"},
    {"pica(computer)", "0.004233333"},
    {"pica(printer)", "0.004217518"},
    {"point(computer)", "0.0003527778"},
    {"point(printer)", "0.0003514598"},
    {"yard", "0.9144"},
};

constexpr Row kMass[] = {
    {"carat(metric)", "0.0002"},
    {"grain", "0.00006479891"},
    {"gram", "0.001"},
    {"hundredweight(long)", "50.80234544"},
    {"hundredweight(short)", "45.359237"},
    {"kilogram[kg]", "1"},
    {"ounce(avoirdupoi)", "0.028349523125"},
    {"ounce(troy)", "0.0311034768"},
    {"pound", "0.45359237"},
    {"ton(UK or long)", "1016.0469088"},
    {"ton(US or short)", "907.18474"},
    {"ton(metric)", "1000"},
};

constexpr Row kVolume[] = {
    {"barrel(oil)", "158.987294928"},
    {"bushel(UK)", "36.36872"},
    {"bushel(US)", "35.23907016688"},
    {"centilitre", "0.01"},
    {"cubic centimetre", "0.001"},
    {"cubic decimetre", "1"},
    {"cubic decametre", "1000000"},
    {"cubic foot", "28.316846592"},
    {"cubic inch", "0.016387064"},
    {"cubic metre", "1000"},
    {"cubic millimetre", "0.000001"},
    {"cubic yard", "764.554857984"},
    {"decilitre", "0.1"},
    {"fluid ounce(UK)", "0.0284130625"},
    {"fluid ounce(US)", "0.0295735295625"},
    {"gallon(UK)", "4.54609"},
    {"gallon,dry(US)", "4.40488377086"},
    {"gallon,liquid(US)", "3.785411784"},
    {"litre[l or L]", "1"},
    {"millilitre", "0.001"},
    {"pint(UK)", "0.56826125"},
    {"pint,dry(US)", "0.5506104713575"},
    {"pint,liquid(US)", "0.473176473"},
    {"quart(UK)", "1.1365225"},
    {"quart,dry(US)", "1.101220942715"},
    {"quart,liquid(US)", "0.946352946"},
};

constexpr Row kForce[] = {
    {"dyne", "0.00001"},         {"kilogram force", "9.80665"}, {"kilonewton[kN]", "1000"},
    {"kip", "4448.222"},         {"meganewton[MN]", "1000000"}, {"newton[N]", "1"},
    {"pound force", "4.448222"}, {"poundal", "0.138255"},       {"sthene(=kN)", "1000"},
    {"tonne force", "9806.65"},  {"ton(UK) force", "9964.016"}, {"ton(US) force", "8896.443"},
};

constexpr Row kPower[] = {
    {"Btu/hour", "0.293071"},
    {"Btu/minute", "17.584267"},
    {"Btu/second", "1055.056"},
    {"calories/hour", "0.001163"},
    {"calories/minute", "0.06978"},
    {"calories/second", "4.1868"},
    {"ft lb-force/minute", "0.022597"},
    {"ft lb-force/second", "1.35582"},
    {"gigawatt[GW]", "1000000000"},
    {"horsepower(electric)", "746"},
    {"horsepower(metric)", "735.499"},
    {"joules/hour", "1/3600"},
    {"joules/minute", "1/60"},
    {"joules/second", "1"},
    {"kilocalorie/hour", "1.163"},
    {"kilocalorie/minute", "69.78"},
    {"kg-force metre/hour", "0.002724"},
    {"kg-force metre/minute", "0.163444"},
    {"kilowatt[kW]", "1000"},
    {"megawatt[MW]", "1000000"},
    {"watt[W]", "1"},
};

constexpr Row kEnergy[] = {
    {"British thermal unit(IT)", "1055.056"},
    {"British thermal unit(th)", "1054.350"},
    {"British thermal unit(mean)", "1055.87"},
    {"calorie-cal(IT)", "4.1868"},
    {"calorie-cal(th)", "4.184"},
    {"calorie-cal(mean)", "4.19002"},
    {"calorie-cal(15C)", "4.18580"},
    {"calorie-cal(20C)", "4.18190"},
    {"calorie(food)", "4186"},
    {"centigrade heat unit", "1900.4"},
    {"erg", "1/10000000"},
    {"foot pound-force", "1.355818"},
    {"foot poundal", "0.042140"},
    {"gigajoule[GJ]", "1000000000"},
    {"horsepower hour", "2684520"},
    {"joule[J]", "1"},
    {"kilocalorie(IT)", "4186.8"},
    {"kilocalorie(th)", "4184"},
    {"kilogram-force metre", "9.80665"},
    {"kilojoule[kJ]", "1000"},
    {"kilowatt hour[kWh]", "3600000"},
    {"megajoule[MJ]", "1000000"},
    {"newton metre[Nm]", "1"},
    {"therms", "105500000"},
    {"watt second[Ws]", "1"},
    {"watt hour[Wh]", "3600"},
};

constexpr Row kTime[] = {
    {"day(24Hour)", "24*60*60"},
    {"hour", "60*60"},
    {"minute", "60"},
    {"millisecond", "0.001"},
    {"microsecond", "0.000001"},
    {"month(28days)", "28*24*60*60"},
    {"month(29days)", "29*24*60*60"},
    {"month(30days)", "30*24*60*60"},
    {"month(31days)", "31*24*60*60"},
    {"nanosecond", "0.000000001"},
    {"second", "1"},
    {"week(7days)", "7*24*60*60"},
    {"year(365days)", "365*24*60*60"},
    {"year(366days)", "366*24*60*60"},
};

// Formulas in x: Celsius to Fahrenheit, and Fahrenheit to Celsius.
constexpr Row kTemperature[] = {
    {"Celsius (C)", "x*9/5+32"},
    {"Fahrenheit (F)", "(x-32)*5/9"},
};

constexpr Row kPress[] = {
    {"atmosphere", "101325"},
    {"bar", "100000"},
    {"centimetre of mercury", "1333.22"},
    {"centimetre of water", "98.0665"},
    {"foot of water", "2989.06692"},
    {"hectopascal[hPa]", "100"},
    {"inch of water", "249.08891"},
    {"inch of mercury", "3386.388"},
    {"kg-force/sq.centimetre", "98066.5"},
    {"kg-force/sq.metre", "9.80665"},
    {"kilonewton/sq.metre", "1000"},
    {"kilopascal [kPa]", "1000"},
    {"kip/sq.inch", "6894760"},
    {"meganewton/sq.metre", "1000000"},
    {"metre of water", "9806.65"},
    {"millibar", "100"},
    {"pascal [Pa]", "1"},
    {"millimetre of mercury", "133.322"},
    {"millimetre of water", "9.80665"},
    {"newton/sq.centimetre", "10000"},
    {"newton/sq.metre", "1"},
    {"newton/sq.millimetre", "1000000"},
    {"pound-force/sq.foot", "47.880"},
    {"pound-force/sq.inch", "6894.757"},
    {"poundal/sq.foot", "1.44816"},
    {"ton(UK)-force/sq.foot", "107252"},
    {"ton(UK)-force/sq.inch", "15444256"},
    {"ton(US)-force/sq.foot", "95760"},
    {"ton(US)-force/sq.inch", "13789500"},
    {"tonne-force/sq.cm", "98066500"},
    {"tonne-force/sq.metre", "9806.65"},
};

constexpr Row kSpeed[] = {
    {"centimetre/minute", "1/6000"}, {"centimetre/second", "0.01"},
    {"foot/hour", "1/11811"},        {"foot/minute", "0.00508"},
    {"foot/second", "0.3048"},       {"inch/minute", "1/2362.2"},
    {"inch/second", "0.0254"},       {"kilometre/hour", "1/3.6"},
    {"kilometre/second", "1000"},    {"knot", "0.514444"},
    {"Mach number", "331.5"},        {"metre/hour", "1/3600"},
    {"metre/minute", "1/60"},        {"metre/second [m/s]", "1"},
    {"mile/hour", "0.44704"},        {"mile/minute", "26.8224"},
    {"mile/second", "1609.344"},     {"yard/hour", "1/3937"},
    {"yard/minute", "0.01524"},      {"yard/second", "0.9144"},
};

// Also the rows of "currency".
constexpr Row kPrefixes[] = {
    {"yotta", "1000000000000000000000000"},
    {"zetta", "1000000000000000000000"},
    {"exa", "1000000000000000000"},
    {"peta", "1000000000000000"},
    {"tera", "1000000000000"},
    {"giga", "1000000000"},
    {"mega", "1000000"},
    {"kilo", "1000"},
    {"hecto", "100"},
    {"deca", "10"},
    {"deci", "0.1"},
    {"centi", "0.01"},
    {"milli", "0.001"},
    {"micro", "0.000001"},
    {"nano", "0.000000001"},
    {"pico", "0.000000000001"},
    {"femto", "0.000000000000001"},
    {"atto", "0.000000000000000001"},
    {"zepto", "0.000000000000000000001"},
    {"yocto", "0.000000000000000000000001"},
};

struct Category {
  std::string_view name;
  std::span<const Row> rows;
};

constexpr Category kCategories[] = {
    {"area", kArea},         {"length", kLength}, {"mass", kMass},
    {"volume", kVolume},     {"force", kForce},   {"power", kPower},
    {"energy", kEnergy},     {"time", kTime},     {"temperature", kTemperature},
    {"press", kPress},       {"speed", kSpeed},   {"prefixes", kPrefixes},
    {"currency", kPrefixes},
};

}  // namespace

std::span<const Row> RowsOf(std::string_view category) {
  for (const Category& c : kCategories) {
    if (c.name == category) return c.rows;
  }
  return {};
}

}  // namespace calvoro::unit_tables
