// The engine on the NIST StRD nonlinear regression problems: every supported
// problem fitted from both start vectors, scored by the number of agreeing
// significant digits of parameters, standard deviations and RSS.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "nist_problems.h"
#include "regression/regress.h"
#include "regression/regression_statistics.h"

namespace movra {
namespace {

constexpr double FitTolerance = 1e-14;
constexpr std::int32_t FitMaxIter = 10000;

struct FitScore {
    std::int32_t Status = 0;
    std::vector<double> Parameters, Deviations;
    double Rss = 0.0;
    double ParameterLre = 0.0, DeviationLre = 0.0, RssLre = 0.0;
};

// The sum of three exponentials is the same model whatever the order of its
// terms; the certified values list them by increasing rate.
void OrderExponentialTerms(const std::string& name, TVector& b, TVector& s)
{
    if (name.rfind("Lanczos", 0) != 0) return;
    for (int pass = 0; pass < 2; ++pass)
        for (int j = 1; j + 3 <= 6; j += 2)
            if (b[j + 1] > b[j + 3]) {
                std::swap(b[j], b[j + 2]);
                std::swap(b[j + 1], b[j + 3]);
                std::swap(s[j], s[j + 2]);
                std::swap(s[j + 1], s[j + 3]);
            }
}

std::string NistFolder()
{
    return std::string(MOVRA_SHARED_TESTDATA) + "/nist";
}

double FitTol()
{
    const char* text = std::getenv("MOVRA_NIST_TOL");
    return text != nullptr ? std::atof(text) : FitTolerance;
}

// Fits one problem from one start vector the way the fit run does: fitted
// values at the result, then the statistics with P = the problem's count.
FitScore FitProblem(const nist::Problem& problem, const std::vector<double>& start, const TVector& x,
                    const TVector& y, int n)
{
    const int p = problem.Parameters;
    TVector b, bMin, bMax, yFit, s, t, prob;
    TMatrix v;
    AllocVector(b, p);
    AllocVector(bMin, p);
    AllocVector(bMax, p);
    AllocMatrix(v, p, p);
    for (int j = 1; j <= p; ++j) {
        b[j] = start[j - 1];
        bMin[j] = -1e20;
        bMax[j] = 1e20;
    }
    const ModelFunction model = nist::Model(problem.Name);
    FitScore score;
    RegressionFit fit;
    FitOptions options;
    options.MaxIterations = FitMaxIter;
    options.Tolerance = FitTol();
    score.Status = fit.RunFit(model, ModelDerivatives, x, y, n, 1, p, b, bMin, bMax, v, options).Status;

    AllocVector(yFit, n);
    score.Rss = 0.0;
    for (int i = 1; i <= n; ++i) {
        yFit[i] = model(x[i], b);
        score.Rss += (y[i] - yFit[i]) * (y[i] - yFit[i]);
    }
    FitStatistics stats;
    ComputeFitStatistics(y, yFit, n, 1, p, v, stats);
    AllocVector(s, p);
    AllocVector(t, p);
    AllocVector(prob, p);
    ComputeParameterTests(b, v, n, 1, p, s, t, prob);
    OrderExponentialTerms(problem.Name, b, s);

    score.ParameterLre = score.DeviationLre = 11.0;
    for (int j = 1; j <= p; ++j) {
        score.Parameters.push_back(b[j]);
        score.Deviations.push_back(s[j]);
        score.ParameterLre = std::min(score.ParameterLre, nist::Lre(b[j], problem.CertifiedParameters[j - 1]));
        score.DeviationLre = std::min(score.DeviationLre, nist::Lre(s[j], problem.CertifiedDeviations[j - 1]));
    }
    score.RssLre = nist::Lre(score.Rss, problem.CertifiedRss);
    if (score.Status != OptOk) score.ParameterLre = score.DeviationLre = score.RssLre = 0.0;
    return score;
}

std::string Joined(const std::vector<double>& values)
{
    std::string text;
    char buffer[40];
    for (double v : values) {
        std::snprintf(buffer, sizeof buffer, "%.17g", v);
        if (!text.empty()) text += ';';
        text += buffer;
    }
    return text;
}

// All fits, run once for the whole suite and written to nist_results.tsv in
// the test's build folder (the input of check_lre.py).
class NistResults {
public:
    static const NistResults& Get()
    {
        static const NistResults results;
        return results;
    }
    bool Available() const { return !problems_.empty(); }
    const std::vector<nist::Problem>& Problems() const { return problems_; }
    const FitScore& Score(const std::string& name, int start) const
    {
        return scores_.at(name + "/" + std::to_string(start));
    }

private:
    NistResults()
    {
        problems_ = nist::ReadProblems(NistFolder());
        std::ofstream tsv(MOVRA_NIST_RESULTS);
        tsv << "name\tstart\tstatus\tparams\tsd\trss\n";
        for (const nist::Problem& problem : problems_) {
            if (!problem.Supported) continue;
            TVector x, y;
            int n = 0;
            if (!nist::ReadData(NistFolder(), problem.Name, x, y, n)) continue;
            for (int start = 1; start <= 2; ++start) {
                const FitScore score = FitProblem(problem, start == 1 ? problem.Start1 : problem.Start2, x, y, n);
                scores_[problem.Name + "/" + std::to_string(start)] = score;
                char rss[40];
                std::snprintf(rss, sizeof rss, "%.17g", score.Rss);
                tsv << problem.Name << '\t' << start << '\t' << FitStatusName(score.Status) << '\t'
                    << Joined(score.Parameters) << '\t' << Joined(score.Deviations) << '\t' << rss << '\n';
            }
        }
    }
    std::vector<nist::Problem> problems_;
    std::map<std::string, FitScore> scores_;
};

// What the engine reaches (Tol 1e-14, forward differences): status and the
// least number of agreeing digits of parameters, deviations and RSS.
struct Expected {
    const char* Name;
    int Start;
    std::int32_t Status;
    int Parameters, Deviations, Rss;
};

const Expected ExpectedScores[] = {
    {"Misra1a", 1, OptOk, 8, 7, 10},    {"Misra1a", 2, OptOk, 7, 6, 10},    {"Chwirut2", 1, OptOk, 7, 7, 10},
    {"Chwirut2", 2, OptOk, 7, 7, 10},   {"Chwirut1", 1, OptOk, 7, 7, 10},   {"Chwirut1", 2, OptOk, 8, 7, 10},
    {"Lanczos3", 1, OptOk, 7, 3, 10},   {"Lanczos3", 2, OptOk, 6, 3, 10},   {"Gauss1", 1, OptOk, 9, 7, 10},
    {"Gauss1", 2, OptOk, 8, 7, 10},     {"Gauss2", 1, OptOk, 9, 7, 10},     {"Gauss2", 2, OptOk, 9, 7, 10},
    {"DanWood", 1, OptOk, 9, 7, 10},    {"DanWood", 2, OptOk, 9, 7, 10},    {"Misra1b", 1, OptOk, 8, 6, 10},
    {"Misra1b", 2, OptOk, 8, 6, 10},    {"Kirby2", 1, OptOk, 6, 7, 10},     {"Kirby2", 2, OptOk, 7, 6, 10},
    {"Hahn1", 1, OptOk, 6, 6, 10},      {"Hahn1", 2, OptOk, 6, 6, 10},      {"MGH17", 1, OptSing, 0, 0, 0},
    {"MGH17", 2, OptOk, 6, 5, 10},      {"Lanczos1", 1, OptOk, 10, 2, 2},   {"Lanczos1", 2, OptOk, 10, 2, 2},
    {"Lanczos2", 1, OptOk, 6, 4, 10},   {"Lanczos2", 2, OptOk, 7, 4, 9},    {"Gauss3", 1, OptOk, 9, 6, 10},
    {"Gauss3", 2, OptOk, 9, 6, 10},     {"Misra1c", 1, OptOk, 8, 6, 10},    {"Misra1c", 2, OptOk, 7, 6, 10},
    {"Misra1d", 1, OptOk, 8, 7, 10},    {"Misra1d", 2, OptOk, 9, 7, 10},    {"Roszman1", 1, OptOk, 6, 6, 10},
    {"Roszman1", 2, OptOk, 6, 6, 10},   {"MGH09", 1, OptNonConv, 0, 0, 0},  {"MGH09", 2, OptOk, 5, 5, 10},
    {"Thurber", 1, OptOk, 7, 6, 10},    {"Thurber", 2, OptOk, 6, 5, 10},    {"BoxBOD", 1, OptOk, 7, 7, 10},
    {"BoxBOD", 2, OptOk, 7, 7, 10},     {"Rat42", 1, OptOk, 8, 7, 10},      {"Rat42", 2, OptOk, 8, 7, 10},
    {"MGH10", 1, OptNonConv, 0, 0, 0},  {"MGH10", 2, OptOk, 7, 5, 10},      {"Eckerle4", 1, OptSing, 0, 0, 0},
    {"Eckerle4", 2, OptOk, 10, 7, 10},  {"Rat43", 1, OptOk, 6, 6, 10},      {"Rat43", 2, OptOk, 6, 6, 10},
    {"Bennett5", 1, OptOk, 6, 4, 10},   {"Bennett5", 2, OptOk, 7, 4, 10},
};

class NistProblem : public ::testing::TestWithParam<Expected> {};

TEST_P(NistProblem, ReachesItsAgreeingDigits)
{
    if (!std::filesystem::exists(NistFolder() + "/problems.tsv"))
        GTEST_SKIP() << "NIST reference data not found in " << NistFolder();
    const Expected& expected = GetParam();
    const FitScore& score = NistResults::Get().Score(expected.Name, expected.Start);
    EXPECT_EQ(score.Status, expected.Status);
    EXPECT_GE(score.ParameterLre, expected.Parameters);
    EXPECT_GE(score.DeviationLre, expected.Deviations);
    EXPECT_GE(score.RssLre, expected.Rss);
}

INSTANTIATE_TEST_SUITE_P(All, NistProblem, ::testing::ValuesIn(ExpectedScores),
                         [](const ::testing::TestParamInfo<Expected>& param) {
                             return std::string(param.param.Name) + "_start" + std::to_string(param.param.Start);
                         });

TEST(NistReference, ReportsAgreeingDigitsPerProblem)
{
    if (!std::filesystem::exists(NistFolder() + "/problems.tsv"))
        GTEST_SKIP() << "NIST reference data not found in " << NistFolder();
    const NistResults& results = NistResults::Get();
    ASSERT_TRUE(results.Available());
    std::printf("%-9s %-7s %5s %-14s %6s %6s %6s\n", "name", "diff", "start", "status", "param", "sd", "rss");
    for (const nist::Problem& problem : results.Problems()) {
        if (!problem.Supported) continue;
        for (int start = 1; start <= 2; ++start) {
            const FitScore& s = results.Score(problem.Name, start);
            std::printf("%-9s %-7s %5d %-14s %6.1f %6.1f %6.1f\n", problem.Name.c_str(), problem.Difficulty.c_str(),
                        start, std::string(FitStatusName(s.Status)).c_str(), s.ParameterLre, s.DeviationLre,
                        s.RssLre);
        }
    }
    std::printf("results written to %s\n", MOVRA_NIST_RESULTS);
}

} // namespace
} // namespace movra
