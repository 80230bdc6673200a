# bash completion for brevix-dump. The options, and the values that the usage
# lines list as "--name a|b|c", are read from its --help, so an option added
# there needs no edit here.
_brevix_dump()
{
    local cur prev words cword split
    _init_completion -s || return

    local help
    help=$(LC_ALL=C "$1" --help 2>/dev/null)
    if [[ $prev == --+([-a-z0-9]) ]]; then
        local values
        values=$(command sed -ne "s/.*$prev \([a-z][-a-z0-9]*\(|[a-z][-a-z0-9]*\)\{1,\}\).*/\1/p" \
            <<<"$help" | command head -n 1)
        if [[ -n $values ]]; then
            COMPREPLY=($(compgen -W "${values//|/ }" -- "$cur"))
            return
        fi
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(command grep -o -- '--[a-z][-a-z0-9]*' <<<"$help" |
            command sort -u)" -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _brevix_dump brevix-dump
