#pragma once
// Telling the user why a rule refused. A rule that refuses without a word
// throws an Error with an empty message: nothing is shown for it.

class Error;
class Prompts;

namespace refusal {

void show(Prompts& prompts, const Error& error);

}  // namespace refusal
