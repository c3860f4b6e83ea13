#include "marrowgate/math/mg_quaternion.h"

#include "marrowgate/core/mg_error.h"

namespace Marrowgate::Core::Unstable {
namespace {

constexpr char kUnitName[] = "mg_quaternion";

bool CheckResult(const Quaternion* result)
{
    MG_ERROR_IF(result == nullptr, "mgExternalError: Invalid parameter for result, expected valid pointer.");
    return result != nullptr;
}

bool CheckInput(const Quaternion* input)
{
    MG_ERROR_IF(input == nullptr, "mgExternalError: Invalid parameter for input, expected valid pointer.");
    return input != nullptr;
}

bool CheckOperands(const Quaternion* left, const Quaternion* right)
{
    MG_ERROR_IF(left == nullptr, "mgExternalError: Invalid parameter for left, expected valid pointer.");
    MG_ERROR_IF(right == nullptr, "mgExternalError: Invalid parameter for right, expected valid pointer.");
    return left != nullptr && right != nullptr;
}

template <typename Operation>
Quaternion* Binary(Quaternion* result, const Quaternion* left, const Quaternion* right, Operation operation)
{
    const bool resultValid = CheckResult(result);
    if (CheckOperands(left, right) && resultValid) {
        *result = operation(*left, *right);
    }
    return result;
}

template <typename Operation>
Quaternion* Unary(Quaternion* result, const Quaternion* input, Operation operation)
{
    const bool resultValid = CheckResult(result);
    if (CheckInput(input) && resultValid) {
        *result = operation(*input);
    }
    return result;
}

} // namespace

Quaternion* QuaternionAdd(Quaternion* result, const Quaternion* left, const Quaternion* right)
{
    return Binary(result, left, right, [](const Quaternion& l, const Quaternion& r) { return l + r; });
}

Quaternion* QuaternionSubtract(Quaternion* result, const Quaternion* left, const Quaternion* right)
{
    return Binary(result, left, right, [](const Quaternion& l, const Quaternion& r) { return l - r; });
}

Quaternion* QuaternionNegate(Quaternion* result, const Quaternion* input)
{
    return Unary(result, input, [](const Quaternion& q) { return -q; });
}

Quaternion* QuaternionScale(Quaternion* result, const Quaternion* input, float scale)
{
    return Unary(result, input, [scale](const Quaternion& q) { return q * scale; });
}

Quaternion* QuaternionDivide(Quaternion* result, const Quaternion* input, float divisor)
{
    return Unary(result, input, [divisor](const Quaternion& q) { return q / divisor; });
}

Quaternion* QuaternionNormalize(Quaternion* result, const Quaternion* input)
{
    return Unary(result, input, [](const Quaternion& q) { return q.GetNormalized(); });
}

Quaternion* QuaternionInverse(Quaternion* result, const Quaternion* input)
{
    return Unary(result, input, [](const Quaternion& q) { return q.GetInverse(); });
}

Quaternion* QuaternionMultiply(Quaternion* result, const Quaternion* left, const Quaternion* right)
{
    MG_ERROR_IF(
        result != nullptr && (result == left || result == right),
        "mgExternalError: Invalid parameter for result, expected different location than left or right.");
    // The product is built in a temporary, so an aliased result still receives the right value.
    return Binary(result, left, right, [](const Quaternion& l, const Quaternion& r) { return l * r; });
}

bool QuaternionIsEqual(const Quaternion* left, const Quaternion* right)
{
    return CheckOperands(left, right) && *left == *right;
}

} // namespace Marrowgate::Core::Unstable
