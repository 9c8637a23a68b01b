#include "refusal.h"

#include "browser/prompts.h"
#include "store/error.h"

namespace refusal {

void show(Prompts& prompts, const Error& error)
{
    if (!error.message().isEmpty())
        prompts.showError(error.message());
}

}  // namespace refusal
