#pragma once

class LumaRows;

// The mean structural similarity of two pictures of the same size, in double precision on
// one thread, as the program first computed it: the baseline of the similarity benchmark.
double doubleSimilarity(LumaRows& first, LumaRows& second);
