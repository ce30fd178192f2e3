#pragma once

// Registers the job records with the meta-type system, so that they can
// travel through queued signals. Safe to call more than once.
void register_job_meta_types();
