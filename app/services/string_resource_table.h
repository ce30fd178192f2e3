#pragma once

// The rows behind string_resource, sorted by id.
struct string_resource_row {
    int id;
    struct {
        const char *text;
        const char *key;
    } entry;
};

const string_resource_row *string_resource_rows();
int string_resource_row_count();
