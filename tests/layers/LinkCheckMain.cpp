// The program of a layer row's link check: it runs nothing. Linking it with
// every object of the row and only the rows below proves that the row calls
// nothing above it.
int main()
{
    return 0;
}
