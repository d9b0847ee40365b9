#pragma once

#include "wml/agent/WmlVariables.h"

#include <QString>
#include <libxml/tree.h>

#include <vector>

namespace tessera::wml::agent {

// Inputs and select lists: their initial values, what they accept and how
// a choice is written back into the variables.

// Collapses runs of white space to one space and trims the ends.
QString collapsedText(const QString& text);

std::vector<xmlNode*> selectOptions(const xmlNode* select);
QString optionLabel(const xmlNode* option, const WmlVariables& variables);
bool isMultipleSelect(const xmlNode* select);

// The chosen options (from 0, ascending) as the variables say now: the
// index variable when it holds valid indices, else the value variable.
std::vector<int> currentSelection(const xmlNode* select, const WmlVariables& variables);

// The default option index of a select as the card is shown (from 0; none
// is index 0 of a multiple-choice select): the iname variable, else ivalue,
// else the name variable's values, else the value attribute, each only when
// it names a valid option.
std::vector<int> defaultOptions(const xmlNode* select, const WmlVariables& variables);
// Sets the select's variables from its default choice when a card is shown.
void initialiseSelect(const xmlNode* select, WmlVariables& variables);
// Writes a choice into the select's value and index variables.
void storeSelection(const xmlNode* select, const std::vector<int>& chosen, WmlVariables& variables);

// Why the input refuses the entry, or an empty string when it takes it.
QString inputRefusal(const xmlNode* input, const QString& value, const WmlVariables& variables);
// Why the phone's entry refuses the character `next` typed after `entered`
// (the format, maxlength); empty when it is taken.
QString typedRefusal(const xmlNode* input, const QString& entered, QChar next,
                     const WmlVariables& variables);
void initialiseInput(const xmlNode* input, WmlVariables& variables);
// The value as the screen shows it: one '*' per character of a password.
QString inputShownValue(const xmlNode* input, const WmlVariables& variables);
// The mask's rule in words, empty without a valid format.
QString inputRule(const xmlNode* input, const WmlVariables& variables);

} // namespace tessera::wml::agent
