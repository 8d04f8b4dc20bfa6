// The sum of two numbers written as decimals: a height of 150,06 lowered by
// 0,1 is 149,96, not the binary sum 149,95999999999998. Windows-free and
// independent of the C library's locale.
#pragma once

namespace kavrel {

// Decimal places of the shortest decimal text that reads back as `value`
// (0,1 has 1, 150,06 has 2, 12 and 1e20 have 0).
int ShortestDecimalPlaces(double value);

// a + b rounded to the larger number of decimal places of the two operands:
// the double nearest to that decimal. Where either operand has more than 12
// decimal places, or the sum is not finite, the binary sum as it is.
double SumAtOperandDecimals(double a, double b);

}  // namespace kavrel
