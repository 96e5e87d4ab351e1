#include <gtest/gtest.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/platform/InpOutPort.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/ConstantSignals.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace ombrelis::platform {
namespace {

std::string loadFailure(const std::vector<std::string>& libraries) {
    try {
        InpOutPort port(libraries);
    } catch (const PortError& e) {
        return e.what();
    }
    return "loaded";
}

struct LoadCase {
    const char* name;
    std::vector<std::string> libraries;
    const char* message;
};

class InpOutLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(InpOutLoadTest, AFailedLoadIsAFrenchPortError) {
    EXPECT_EQ(loadFailure(GetParam().libraries), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, InpOutLoadTest,
    ::testing::Values(
        LoadCase{"missing",
                 {"ombrelis-absent-x64.dll", "ombrelis-absent-32.dll"},
                 "Impossible de charger la bibliothèque d'accès aux ports ombrelis-absent-x64.dll "
                 "ou ombrelis-absent-32.dll : module introuvable. Installez InpOut à côté du "
                 "programme."},
        LoadCase{"without_entries",
                 {"ombrelis-absent.dll", "version.dll"},
                 "Impossible de trouver le point d'entrée Inp32 dans la bibliothèque version.dll : "
                 "point d'entrée introuvable."}),
    testing::NamedAfterName{});

class InpOutStandinTest : public ::testing::TestWithParam<testing::ConstantSignal> {};

// The library found beside the program is the stand-in, a MAX187 behind the port.
TEST_P(InpOutStandinTest, LireConvertisseurReadsTheConverterThroughInpOut) {
    _putenv_s("OMBRELIS_STANDIN_SIGNAL", GetParam().signal);
    InpOutPort port;
    BusyWaitDelay delay;
    engine::Convertisseur converter(port, delay);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(converter.LireConvertisseur(), GetParam().count) << "readout " << i;
    }
    _putenv_s("OMBRELIS_STANDIN_SIGNAL", "");
}

INSTANTIATE_TEST_SUITE_P(Signals, InpOutStandinTest, ::testing::ValuesIn(testing::kConstantSignals),
                         testing::NamedAfterName{});

TEST(InpOutStandin, ADriverThatIsNotRunningIsAFrenchPortError) {
    _putenv_s("OMBRELIS_STANDIN_FAIL", "open:EACCES");
    EXPECT_EQ(loadFailure(kInpOutLibraries),
              "Le pilote de la bibliothèque inpoutx64.dll n'est pas en service : lancez le "
              "programme une fois en tant qu'administrateur pour qu'InpOut l'installe.");
    _putenv_s("OMBRELIS_STANDIN_FAIL", "");
}

} // namespace
} // namespace ombrelis::platform
