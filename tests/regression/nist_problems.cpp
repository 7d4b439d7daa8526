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
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> values;
    for (const std::string& part : Split(text, ';')) values.push_back(std::stod(part));
    return values;
}

using M = const TVector&;
double Exponentials3(double x, M m)
{
    return m[1] * std::exp(-m[2] * x) + m[3] * std::exp(-m[4] * x) + m[5] * std::exp(-m[6] * x);
}
double Rational33(double x, M m)
{
    const double x2 = x * x, x3 = x2 * x;
    return (m[1] + m[2] * x + m[3] * x2 + m[4] * x3) / (1 + m[5] * x + m[6] * x2 + m[7] * x3);
}
double Gauss(double x, M m)
{
    const double u = x - m[4], w = x - m[7];
    return m[1] * std::exp(-m[2] * x) + m[3] * std::exp(-(u * u) / (m[5] * m[5]))
        + m[6] * std::exp(-(w * w) / (m[8] * m[8]));
}

} // namespace

std::vector<Problem> ReadProblems(const std::string& folder)
{
    std::vector<Problem> problems;
    std::ifstream in(folder + "/problems.tsv");
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = Split(line, '\t');
        if (line[0] == '#' || f.size() < 12) continue;
        problems.push_back({f[0], f[1], std::stoi(f[2]), std::stoi(f[3]), Numbers(f[5]), Numbers(f[6]), Numbers(f[7]),
                            Numbers(f[8]), std::stod(f[9]), f.size() < 13 || f[12].rfind("unsupported", 0) != 0});
    }
    return problems;
}

void ReadData(const std::string& folder, const std::string& name, TVector& x, TVector& y, int& n)
{
    std::ifstream in(folder + "/" + name + ".dat");
    x.assign(1, 0.0);
    y.assign(1, 0.0);
    // The data follow the last line that begins with "Data:", a "y x" pair a line.
    for (std::string line; std::getline(in, line);) {
        double xi = 0, yi = 0;
        if (line.rfind("Data:", 0) == 0)
            x.resize(1), y.resize(1);
        else if (std::istringstream(line) >> yi >> xi)
            x.push_back(xi), y.push_back(yi);
    }
    n = static_cast<int>(x.size()) - 1;
}

ModelFunction Model(const std::string& name)
{
    using Function = double (*)(double, M);
    static const std::map<std::string, Function> models = {
        {"Misra1a", [](double x, M m) { return m[1] * (1 - std::exp(-m[2] * x)); }},
        {"Chwirut2", [](double x, M m) { return std::exp(-m[1] * x) / (m[2] + m[3] * x); }},
        {"Chwirut1", [](double x, M m) { return std::exp(-m[1] * x) / (m[2] + m[3] * x); }},
        {"Lanczos1", Exponentials3}, {"Lanczos2", Exponentials3}, {"Lanczos3", Exponentials3},
        {"Gauss1", Gauss}, {"Gauss2", Gauss}, {"Gauss3", Gauss}, {"Hahn1", Rational33}, {"Thurber", Rational33},
        {"DanWood", [](double x, M m) { return m[1] * std::pow(x, m[2]); }},
        {"Misra1b", [](double x, M m) { return m[1] * (1 - std::pow(1 + m[2] * x / 2, -2.0)); }},
        {"Kirby2", [](double x, M m) { return (m[1] + m[2] * x + m[3] * x * x) / (1 + m[4] * x + m[5] * x * x); }},
        {"MGH17", [](double x, M m) { return m[1] + m[2] * std::exp(-x * m[4]) + m[3] * std::exp(-x * m[5]); }},
        {"Misra1c", [](double x, M m) { return m[1] * (1 - std::pow(1 + 2 * m[2] * x, -0.5)); }},
        {"Misra1d", [](double x, M m) { return m[1] * m[2] * x * std::pow(1 + m[2] * x, -1.0); }},
        {"Roszman1", [](double x, M m) { return m[1] - m[2] * x - std::atan(m[3] / (x - m[4])) / std::numbers::pi; }},
        {"MGH09", [](double x, M m) { return m[1] * (x * x + x * m[2]) / (x * x + x * m[3] + m[4]); }},
        {"BoxBOD", [](double x, M m) { return m[1] * (1 - std::exp(-m[2] * x)); }},
        {"Rat42", [](double x, M m) { return m[1] / (1 + std::exp(m[2] - m[3] * x)); }},
        {"MGH10", [](double x, M m) { return m[1] * std::exp(m[2] / (x + m[3])); }},
        {"Eckerle4", [](double x, M m) {
             const double u = (x - m[3]) / m[2];
             return (m[1] / m[2]) * std::exp(-0.5 * u * u);
         }},
        {"Rat43", [](double x, M m) { return m[1] / std::pow(1 + std::exp(m[2] - m[3] * x), 1 / m[4]); }},
        {"Bennett5", [](double x, M m) { return m[1] * std::pow(m[2] + x, -1 / m[3]); }},
    };
    const auto found = models.find(name);
    if (found == models.end()) return {};
    return [f = found->second](double x, M m) {
        const double value = f(x, m);
        return std::isnan(value) || value > 1e20 ? 1e20 : std::fmax(value, -1e20);
    };
}

double Lre(double estimate, double certified)
{
    if (!std::isfinite(estimate)) return 0.0;
    if (estimate == certified) return 11.0;
    const double error = std::fabs(estimate - certified) / (certified != 0.0 ? std::fabs(certified) : 1.0);
    return error > 1.0 ? 0.0 : std::fmax(0.0, std::fmin(11.0, -std::log10(error)));
}

} // namespace movra::nist
