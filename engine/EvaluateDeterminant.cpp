#include "Kalvoran.h"
#include "PathFunctions.h"
#include "StepPaths.h"

namespace Kalvoran {
namespace {

const PathFunctions& functionsOf(StepPath path)
{
    return path == StepPath::Fma ? FmaPathFunctions : PlainPathFunctions;
}

// Counted where `calls` names a counter.
template <class... Calls> double evaluate(StepPath path, const Matrix& matrix, Calls&... calls)
{
    const int order = ProbeOrder(matrix);
    if (order == 0)
        return 1.0; // the empty product
    const PathFunctions& functions = functionsOf(path);
    if constexpr (sizeof...(Calls) == 0)
        return functions.evaluate(order, matrix.data(), matrix.cols());
    else
        return functions.evaluateCounted(order, matrix.data(), matrix.cols(), calls...);
}

} // namespace

StepPath ChosenStepPath()
{
    static const StepPath chosen = RunnablePaths().front();
    return chosen;
}

const char* StepPathName(StepPath path)
{
    return path == StepPath::Fma ? "fma" : "without fma (Dekker products)";
}

double EvaluateDeterminant(const Matrix& matrix)
{
    return evaluate(ChosenStepPath(), matrix);
}

double EvaluateDeterminantCounted(const Matrix& matrix, std::uint64_t& calls)
{
    return evaluate(ChosenStepPath(), matrix, calls);
}

double EvaluateDeterminantOn(StepPath path, const Matrix& matrix)
{
    return evaluate(path, matrix);
}

double EvaluateDeterminantOn(StepPath path, const Matrix& matrix, std::uint64_t& calls)
{
    return evaluate(path, matrix, calls);
}

double EvaluateStep(StepPath path, StepKind kind, double x0, double x1, double x2, double x3)
{
    return functionsOf(path).step(kind, x0, x1, x2, x3);
}

} // namespace Kalvoran
