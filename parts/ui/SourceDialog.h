#pragma once

class QtPropertyDialogs;

// Dialog 346 "Source Edit" of the voltage and current sources.
void RegisterSourceDialog(QtPropertyDialogs& dialogs);
