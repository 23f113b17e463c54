// Compiled with the project's warning options by the warnings_option test: an unused variable.
int main()
{
    int unused = 0;
    return 0;
}
