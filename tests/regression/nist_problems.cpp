#include "nist_problems.h"

#include <cmath>
#include <fstream>
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

} // namespace

std::vector<Problem> ReadProblems(const std::string& folder)
{
    std::vector<Problem> problems;
    std::ifstream in(folder + "/problems.tsv");
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = Split(line, '\t');
        if (line[0] == '#' || f.size() < 12) continue;
        problems.push_back({f[0], f[1], f[4], std::stoi(f[2]), std::stoi(f[3]), Numbers(f[5]), Numbers(f[6]),
                            Numbers(f[7]), Numbers(f[8]), std::stod(f[9]),
                            f.size() < 13 || f[12].rfind("unsupported", 0) != 0});
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

double Lre(double estimate, double certified)
{
    if (!std::isfinite(estimate)) return 0.0;
    if (estimate == certified) return 11.0;
    const double error = std::fabs(estimate - certified) / (certified != 0.0 ? std::fabs(certified) : 1.0);
    return error > 1.0 ? 0.0 : std::fmax(0.0, std::fmin(11.0, -std::log10(error)));
}

} // namespace movra::nist
