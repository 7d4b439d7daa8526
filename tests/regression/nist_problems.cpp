#include "nist_problems.h"

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

namespace movra::nist {

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> values;
    for (const std::string& part : Split(text, ';')) values.push_back(std::stod(part));
    return values;
}

// The clamp of the fit run's model function.
double Clamped(double value)
{
    if (std::isnan(value) || value > 1e20) return 1e20;
    if (value < -1e20) return -1e20;
    return value;
}

template <typename F>
ModelFunction Wrap(F f)
{
    return [f](double x, const TVector& m) { return Clamped(f(x, m)); };
}

double Exponentials3(double x, const TVector& m)
{
    return m[1] * std::exp(-m[2] * x) + m[3] * std::exp(-m[4] * x) + m[5] * std::exp(-m[6] * x);
}

double Gauss(double x, const TVector& m)
{
    const double u = x - m[4];
    const double w = x - m[7];
    return m[1] * std::exp(-m[2] * x) + m[3] * std::exp(-(u * u) / (m[5] * m[5]))
        + m[6] * std::exp(-(w * w) / (m[8] * m[8]));
}

double Rational33(double x, const TVector& m)
{
    const double x2 = x * x;
    const double x3 = x2 * x;
    return (m[1] + m[2] * x + m[3] * x2 + m[4] * x3) / (1 + m[5] * x + m[6] * x2 + m[7] * x3);
}

} // namespace

std::vector<Problem> ReadProblems(const std::string& folder)
{
    std::vector<Problem> problems;
    std::ifstream in(folder + "/problems.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = Split(line, '\t');
        if (f.size() < 12) continue;
        Problem p;
        p.Name = f[0];
        p.Difficulty = f[1];
        p.Observations = std::stoi(f[2]);
        p.Parameters = std::stoi(f[3]);
        p.Start1 = Numbers(f[5]);
        p.Start2 = Numbers(f[6]);
        p.CertifiedParameters = Numbers(f[7]);
        p.CertifiedDeviations = Numbers(f[8]);
        p.CertifiedRss = std::stod(f[9]);
        p.Supported = f.size() < 13 || f[12].rfind("unsupported", 0) != 0;
        problems.push_back(p);
    }
    return problems;
}

bool ReadData(const std::string& folder, const std::string& name, TVector& x, TVector& y, int& n)
{
    std::ifstream in(folder + "/" + name + ".dat");
    if (!in) return false;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    // The header names the data block: "Data  (lines 61 to 74)".
    int first = 0, last = 0;
    for (const std::string& l : lines) {
        const auto at = l.find("Data ");
        const auto open = l.find("(lines ");
        if (at != std::string::npos && open != std::string::npos) {
            std::istringstream range(l.substr(open + 7));
            std::string to;
            range >> first >> to >> last;
            break;
        }
    }
    if (first < 1 || last < first || last > static_cast<int>(lines.size())) return false;
    n = last - first + 1;
    AllocVector(x, n + 1);
    AllocVector(y, n + 1);
    for (int i = 1; i <= n; ++i) {
        std::istringstream values(lines[first + i - 2]);
        values >> y[i] >> x[i];
        if (!values) return false;
    }
    return true;
}

ModelFunction Model(const std::string& name)
{
    using M = const TVector&;
    static const std::map<std::string, ModelFunction> models = {
        {"Misra1a", Wrap([](double x, M m) { return m[1] * (1 - std::exp(-m[2] * x)); })},
        {"Chwirut2", Wrap([](double x, M m) { return std::exp(-m[1] * x) / (m[2] + m[3] * x); })},
        {"Chwirut1", Wrap([](double x, M m) { return std::exp(-m[1] * x) / (m[2] + m[3] * x); })},
        {"Lanczos3", Wrap(Exponentials3)},
        {"Gauss1", Wrap(Gauss)},
        {"Gauss2", Wrap(Gauss)},
        {"DanWood", Wrap([](double x, M m) { return m[1] * std::pow(x, m[2]); })},
        {"Misra1b", Wrap([](double x, M m) { return m[1] * (1 - std::pow(1 + m[2] * x / 2, -2.0)); })},
        {"Kirby2", Wrap([](double x, M m) {
             return (m[1] + m[2] * x + m[3] * x * x) / (1 + m[4] * x + m[5] * x * x);
         })},
        {"Hahn1", Wrap(Rational33)},
        {"MGH17", Wrap([](double x, M m) { return m[1] + m[2] * std::exp(-x * m[4]) + m[3] * std::exp(-x * m[5]); })},
        {"Lanczos1", Wrap(Exponentials3)},
        {"Lanczos2", Wrap(Exponentials3)},
        {"Gauss3", Wrap(Gauss)},
        {"Misra1c", Wrap([](double x, M m) { return m[1] * (1 - std::pow(1 + 2 * m[2] * x, -0.5)); })},
        {"Misra1d", Wrap([](double x, M m) { return m[1] * m[2] * x * std::pow(1 + m[2] * x, -1.0); })},
        {"Roszman1", Wrap([](double x, M m) {
             return m[1] - m[2] * x - std::atan(m[3] / (x - m[4])) / std::numbers::pi;
         })},
        {"MGH09", Wrap([](double x, M m) { return m[1] * (x * x + x * m[2]) / (x * x + x * m[3] + m[4]); })},
        {"Thurber", Wrap(Rational33)},
        {"BoxBOD", Wrap([](double x, M m) { return m[1] * (1 - std::exp(-m[2] * x)); })},
        {"Rat42", Wrap([](double x, M m) { return m[1] / (1 + std::exp(m[2] - m[3] * x)); })},
        {"MGH10", Wrap([](double x, M m) { return m[1] * std::exp(m[2] / (x + m[3])); })},
        {"Eckerle4", Wrap([](double x, M m) {
             const double u = (x - m[3]) / m[2];
             return (m[1] / m[2]) * std::exp(-0.5 * u * u);
         })},
        {"Rat43", Wrap([](double x, M m) { return m[1] / std::pow(1 + std::exp(m[2] - m[3] * x), 1 / m[4]); })},
        {"Bennett5", Wrap([](double x, M m) { return m[1] * std::pow(m[2] + x, -1 / m[3]); })},
    };
    const auto found = models.find(name);
    return found != models.end() ? found->second : ModelFunction{};
}

double Lre(double estimate, double certified)
{
    constexpr double cap = 11.0;
    if (!std::isfinite(estimate)) return 0.0;
    if (estimate == certified) return cap;
    double error = std::fabs(estimate - certified);
    if (certified != 0.0) error /= std::fabs(certified);
    if (error > 1.0) return 0.0;
    return std::fmax(0.0, std::fmin(cap, -std::log10(error)));
}

} // namespace movra::nist
